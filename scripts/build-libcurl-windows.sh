#!/usr/bin/env bash
# Cross-builds a shared libcurl for Windows from Debian's own curl source
# package, with the MinGW-w64 posix toolchain and curl's CMake build:
#
#   build-libcurl-windows.sh ARCH OUTDIR      ARCH: x86_64 or i686
#
# OUTDIR receives bin/libcurl.dll, lib/libcurl.dll.a, include/curl/*.h,
# licenses/ (curl's and zlib's, both inside the DLL) and VERSION (the Debian
# source version). It also keeps the downloaded source package (source/), so a
# second run needs no network, and a stamp: while the stamp matches this recipe
# and the source, a second run does nothing.
#
# TLS is Schannel (Windows' own: no OpenSSL DLL to ship); the protocols are
# HTTP, HTTPS and FILE; zlib (Debian's libz-mingw-w64-dev) and libgcc go into
# the DLL statically. Its imports are checked: Windows system DLLs and the
# MinGW C runtime only.
set -euo pipefail

usage() { echo "usage: $0 x86_64|i686 OUTDIR" >&2; exit 2; }
[ $# -eq 2 ] || usage
ARCH="$1"
case "$ARCH" in
  x86_64) TOOLCHAIN=mingw-x64 ;;
  i686) TOOLCHAIN=mingw-i686 ;;
  *) usage ;;
esac
TRIPLE="$ARCH-w64-mingw32"
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$2"
OUT="$(cd "$2" && pwd)"
SRC_CACHE="$OUT/source"
WORK="$OUT/work"
JOBS="${ZYN_JOBS:-$(nproc)}"
say() { echo "libcurl-windows ($ARCH): $*" >&2; }

# Everything the build reads from this tree: a change to any of them rebuilds.
RECIPE=("$0" "$ROOT/cmake/toolchains/mingw-common.cmake" "$ROOT/cmake/toolchains/$TOOLCHAIN.cmake"
        "$ROOT/scripts/check_imports.py")

for tool in cmake ninja dpkg-source "$TRIPLE-gcc-posix" "$TRIPLE-objdump" python3; do
  command -v "$tool" >/dev/null || { say "$tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done
[ -f "/usr/$TRIPLE/lib/libz.a" ] || { say "libz-mingw-w64-dev is missing (scripts/install-deps.sh installs it)"; exit 1; }

# The source package: fetched once through apt (a deb-src entry is needed,
# which scripts/install-deps.sh writes), then taken from the cache.
dsc=$(ls "$SRC_CACHE"/curl_*.dsc 2>/dev/null | tail -n 1 || true)
if [ -z "$dsc" ]; then
  say "fetching Debian's curl source package"
  mkdir -p "$SRC_CACHE"
  # (as root, apt would otherwise hand the download to a user who cannot write here)
  fetch=(apt-get source --download-only curl)
  if [ "$(id -u)" -eq 0 ]; then fetch+=(-o APT::Sandbox::User=root); fi
  if ! (cd "$SRC_CACHE" && "${fetch[@]}" >/dev/null); then
    say "apt-get source failed; updating the package indices once and trying again"
    apt-get update >/dev/null 2>&1 || true
    (cd "$SRC_CACHE" && "${fetch[@]}" >/dev/null)
  fi
  dsc=$(ls "$SRC_CACHE"/curl_*.dsc | tail -n 1)
fi
version=$(sed -n 's/^Version: //p' "$dsc")

stamp=$( (cat "${RECIPE[@]}"; echo "$version") | sha256sum | cut -d' ' -f1)
if [ -f "$OUT/bin/libcurl.dll" ] && [ "$(cat "$OUT/.stamp" 2>/dev/null)" = "$stamp" ]; then
  exit 0
fi

say "building curl $version (a few minutes; log in $OUT/build.log)"
rm -rf "$WORK" "$OUT/bin" "$OUT/lib" "$OUT/include" "$OUT/licenses" "$OUT/.stamp"
mkdir -p "$WORK"
log="$OUT/build.log"
: > "$log"
# dpkg-source applies Debian's patches (its security fixes among them).
dpkg-source --no-check -x "$dsc" "$WORK/src" >>"$log" 2>&1

# Protocols other than HTTP(S) and FILE, and every optional dependency that is
# not a Debian MinGW package, are off.
options=(
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchains/$TOOLCHAIN.cmake"
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_INSTALL_PREFIX="$OUT"
  -DCMAKE_SHARED_LINKER_FLAGS="-static-libgcc -s"
  -DBUILD_SHARED_LIBS=ON -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF
  -DENABLE_MANUAL=OFF -DPICKY_COMPILER=OFF
  -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DCURL_WINDOWS_SSPI=ON
  -DCURL_CA_BUNDLE=none -DCURL_CA_PATH=none
  -DCURL_ZLIB=ON -DZLIB_INCLUDE_DIR="/usr/$TRIPLE/include" -DZLIB_LIBRARY="/usr/$TRIPLE/lib/libz.a"
  -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DUSE_NGHTTP2=OFF -DUSE_NGTCP2=OFF -DUSE_QUICHE=OFF -DUSE_MSH3=OFF
  -DUSE_LIBIDN2=OFF -DUSE_WIN32_IDN=OFF -DCURL_USE_LIBPSL=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBSSH=OFF
  -DCURL_USE_GSSAPI=OFF -DENABLE_ARES=OFF
  -DCURL_DISABLE_DICT=ON -DCURL_DISABLE_FTP=ON -DCURL_DISABLE_GOPHER=ON -DCURL_DISABLE_IMAP=ON
  -DCURL_DISABLE_LDAP=ON -DCURL_DISABLE_LDAPS=ON -DCURL_DISABLE_MQTT=ON -DCURL_DISABLE_POP3=ON
  -DCURL_DISABLE_RTSP=ON -DCURL_DISABLE_SMB=ON -DCURL_DISABLE_SMTP=ON -DCURL_DISABLE_TELNET=ON
  -DCURL_DISABLE_TFTP=ON
)
if ! { cmake -S "$WORK/src" -B "$WORK/build" -G Ninja "${options[@]}" &&
       cmake --build "$WORK/build" -j "$JOBS" &&
       cmake --install "$WORK/build"; } >>"$log" 2>&1; then
  tail -n 40 "$log" >&2
  say "the build failed; the whole log is $log"
  exit 1
fi

# The build must have given exactly what was asked for.
python3 "$ROOT/scripts/check_imports.py" --tool "$TRIPLE-objdump" "$OUT/bin/libcurl.dll"
features=$(grep -E '^#define (USE_SCHANNEL|HAVE_LIBZ) ' "$WORK/build/lib/curl_config.h" | wc -l)
[ "$features" -eq 2 ] || { say "curl_config.h lacks Schannel or zlib"; exit 1; }

mkdir -p "$OUT/licenses"
cp "$WORK/src/COPYING" "$OUT/licenses/curl.txt"
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$OUT/licenses/zlib.txt"
echo "$version" > "$OUT/VERSION"
rm -rf "$WORK" "$OUT/bin/curl-config" "$OUT/lib/pkgconfig" "$OUT/lib/cmake"
echo "$stamp" > "$OUT/.stamp"
say "done: $OUT/bin/libcurl.dll"
