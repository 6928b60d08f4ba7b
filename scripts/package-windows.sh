#!/usr/bin/env bash
# Makes the release bundles that a Windows game drops in beside its .exe:
#   dist/zyn-<version>-win32.zip   i686, the shipping build (preset mingw-i686)
#   dist/zyn-<version>-win64.zip   x86_64 (preset mingw-x64)
# Each holds zyn.dll and its import library, include/zyn/zyn.h, the MinGW-w64
# runtime DLLs that zyn.dll and libcurl need (found by following their
# imports), the preset's own libcurl (named libcurl-x64.dll in win64), the
# licences of what is inside and README-windows.txt; every DLL without its
# debug information. The presets are configured and built when needed.
#   package-windows.sh [--check WINE_RUNNER]
# --check then uses both bundles as a game would (scripts/check-windows-bundle.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS="${ZYN_JOBS:-$(nproc)}"
version=$(sed -nE 's/^project\(zyn VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
mkdir -p dist

# The MinGW-w64 runtime DLLs that the given DLLs import, and theirs in turn.
runtime_dlls() {
  local triple="$1"; shift
  local dirs=("$(dirname "$("$triple-g++-posix" -print-file-name=libstdc++-6.dll)")" "/usr/$triple/lib")
  local queue=("$@") seen=" " dll name dir
  while [ "${#queue[@]}" -gt 0 ]; do
    dll="${queue[0]}"; queue=("${queue[@]:1}")
    for name in $("$triple-objdump" -p "$dll" | sed -n 's/^\s*DLL Name: //p'); do
      for dir in "${dirs[@]}"; do
        if [ -f "$dir/$name" ] && [[ "$seen" != *" $dir/$name "* ]]; then
          seen+="$dir/$name "
          queue+=("$dir/$name")
          echo "$dir/$name"
        fi
      done
    done
  done
}

bundle() {
  local flavour="$1" preset="$2" triple="$3" bits="$4" curl_name="$5"
  local build="build/$preset" deb_arch
  if [ ! -f "$build/CMakeCache.txt" ]; then cmake --preset "$preset" >/dev/null; fi
  cmake --build "$build" -j "$JOBS" --target zyn zyn_libcurl_dll >/dev/null
  deb_arch=$([ "$bits" = 64 ] && echo x86-64 || echo i686)

  local name="zyn-$version-$flavour"
  local stage="build/package/$name"
  rm -rf "$stage"
  mkdir -p "$stage/include/zyn" "$stage/licenses"
  # Every DLL goes in without its debug information (Debian's runtime DLLs carry it).
  "$triple-objcopy" --strip-debug "$build/bin/zyn.dll" "$stage/zyn.dll"
  "$triple-objcopy" --strip-debug "$build/libcurl/bin/libcurl.dll" "$stage/$curl_name"
  cp "$build/src/libzyn.dll.a" "$stage/"
  cp include/zyn/zyn.h "$stage/include/zyn/"
  local runtime=() dll list=""
  mapfile -t runtime < <(runtime_dlls "$triple" "$build/bin/zyn.dll" "$build/libcurl/bin/libcurl.dll")
  for dll in "${runtime[@]}"; do
    "$triple-objcopy" --strip-debug "$dll" "$stage/$(basename "$dll")"
    list+="  $(basename "$dll")"$'\n'
  done

  cp "$build/libcurl/licenses/curl.txt" "$build/libcurl/licenses/zlib.txt" "$stage/licenses/"
  cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/gcc-runtime.txt"
  cp /usr/share/common-licenses/GPL-3 "$stage/licenses/GPL-3.txt"
  cp /usr/share/doc/mingw-w64-common/copyright "$stage/licenses/mingw-w64.txt"

  local arch_note="" pad
  if [ "$bits" = 32 ]; then
    arch_note=$'\nThis 32-bit build computes in SSE2 registers: it needs a processor with SSE2.\n'
  fi
  pad=$(printf '%*s' $((22 - ${#curl_name})) '')
  local readme
  readme=$(<packaging/windows/README-windows.txt)
  readme=${readme//@VERSION@/$version}
  readme=${readme//@BITS@/$bits}
  readme=${readme//@RUNTIME_LIST@/${list%$'\n'}}
  readme=${readme//@CURL_DLL@/$curl_name}
  readme=${readme//@CURL_PAD@/$pad}
  readme=${readme//@CURL_VERSION@/$(cut -d- -f1 "$build/libcurl/VERSION")}
  readme=${readme//@ARCH_NOTE@/$arch_note}
  readme=${readme//@CXX@/$triple-g++-posix}
  readme=${readme//@DEB_ARCH@/$deb_arch}
  # Windows line ends, for Notepad.
  printf '%s\n' "$readme" | sed 's/$/\r/' > "$stage/README-windows.txt"

  rm -f "dist/$name.zip"
  python3 -c 'import shutil, sys; shutil.make_archive(sys.argv[1], "zip", sys.argv[2], sys.argv[3])' \
    "dist/$name" build/package "$name"
  echo "package-windows: dist/$name.zip ($(du -k "dist/$name.zip" | cut -f1) KiB)"
}

bundle win32 mingw-i686 i686-w64-mingw32 32 libcurl.dll
bundle win64 mingw-x64 x86_64-w64-mingw32 64 libcurl-x64.dll
if [ "${1:-}" = "--check" ]; then
  bash scripts/check-windows-bundle.sh "dist/zyn-$version-win64.zip" "dist/zyn-$version-win32.zip" \
    build/bundle-check "$2"
fi
