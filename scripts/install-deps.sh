#!/usr/bin/env bash
# Puts every build and test dependency of zyn in place from Debian's packages.
# Idempotent: when everything is already installed it changes nothing.
set -u

PACKAGES=(
  # native build
  build-essential cmake ninja-build pkg-config python3
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  # fuzzing (libFuzzer ships with clang)
  clang libclang-rt-14-dev
  # library dependencies
  libcurl4-openssl-dev libutfcpp-dev libsdl2-dev
  # media keys on X11 (headers only: libxcb is loaded at run time) and their
  # tests, which drive real windows on a private Xvfb server
  libxcb1-dev x11proto-dev libx11-dev libxtst-dev xvfb
  # benchmark-only comparison
  libssl-dev
  # Windows cross build and the Windows test runner
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  wine64 wine
  # libcurl for Windows, cross-built from Debian's curl source package
  # (dpkg-source unpacks it; zlib goes into it statically)
  dpkg-dev libz-mingw-w64-dev
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

# Source packages come from the same archive as the binary ones: every enabled
# "deb" entry of this release's suites gets a "deb-src" twin, written once, in
# the format the entry itself uses (one-line or deb822).
SRC_LIST=/etc/apt/sources.list.d/zyn-deb-src
need_update=0
add_deb_src() {
  local codename one_line deb822
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || return 0
  if [ -e "$SRC_LIST.list" ] || [ -e "$SRC_LIST.sources" ]; then return 0; fi
  one_line=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | awk -v c="$codename" '
    { l = $0; sub(/\[[^]]*\]/, "", l); split(l, f) }
    f[1] == "deb" && f[3] ~ "^" c { sub(/^deb/, "deb-src"); print }')
  deb822=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk -v c="$codename" -v RS= '
    {
      n = split($0, line, "\n"); types = ""; suites = ""; enabled = "yes"
      for (k = 1; k <= n; k++) {
        if (line[k] ~ /^Types:/) types = line[k]
        if (line[k] ~ /^Suites:/) suites = line[k]
        if (line[k] ~ /^Enabled:/) enabled = tolower(line[k])
      }
      split(suites, s, /[ \t]+/)
      if (types ~ /[ \t]deb([ \t]|$)/ && types !~ /deb-src/ && enabled !~ /no/ && s[2] ~ "^" c) {
        for (k = 1; k <= n; k++)
          if (line[k] !~ /^#/) print (line[k] ~ /^Types:/ ? "Types: deb-src" : line[k])
        print ""
      }
    }')
  if [ -n "$one_line" ]; then
    echo "$one_line" | $SUDO tee "$SRC_LIST.list" >/dev/null && need_update=1
  fi
  if [ -n "$deb822" ]; then
    echo "$deb822" | $SUDO tee "$SRC_LIST.sources" >/dev/null && need_update=1
  fi
  [ "$need_update" -eq 0 ] || echo "install-deps: added deb-src entries for $codename"
}
add_deb_src

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ] && [ "$need_update" -eq 0 ]; then
  exit 0
fi

# The mirror is sometimes mid-sync and update exits non-zero on one failed
# index; carry on and judge by whether the packages install.
$SUDO apt-get update || echo "install-deps: apt-get update reported a problem; trying the install anyway"
if [ "${#missing[@]}" -ne 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
