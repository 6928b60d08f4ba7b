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
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
# The mirror is sometimes mid-sync and update exits non-zero on one failed
# index; carry on and judge by whether the packages install.
$SUDO apt-get update || echo "install-deps: apt-get update reported a problem; trying the install anyway"
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
