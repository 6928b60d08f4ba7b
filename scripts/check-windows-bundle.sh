#!/usr/bin/env bash
# Uses the Windows release bundles as a game developer would: each is unpacked
# into a scratch folder and examples/consumer is compiled against the unpacked
# files only. The 64-bit game then runs under Wine with nothing on WINEPATH, so
# the DLLs beside it must be all it needs, and fetches one URL from the
# loopback test server through the bundle's libcurl. The 32-bit game is
# compiled and linked (nothing here runs 32-bit programs).
#   check-windows-bundle.sh WIN64_ZIP WIN32_ZIP SCRATCH WINE_RUNNER
set -euo pipefail
win64="$1"; win32="$2"; scratch="$3"; wine_run="$4"
src="$(cd "$(dirname "$0")/.." && pwd)"
rm -rf "$scratch"
mkdir -p "$scratch"

# Unpacks a bundle and builds the consumer in its folder; prints the folder.
build_consumer() {
  local zip="$1" triple="$2" dir
  python3 -m zipfile -e "$zip" "$scratch" >/dev/null
  dir="$scratch/$(basename "$zip" .zip)"
  "$triple-g++-posix" -std=c++17 -Wall -Wextra -Werror -I"$dir/include" \
    "$src/examples/consumer/main.cpp" -L"$dir" -lzyn -o "$dir/consumer.exe"
  echo "$dir"
}

build_consumer "$win32" i686-w64-mingw32 >/dev/null
game=$(build_consumer "$win64" x86_64-w64-mingw32)

"$wine_run" --prepare
# The port is known only once the server runs, so the command is built inside.
WINEPATH="" python3 "$src/tests/support/http_server.py" --run \
  sh -c '"$1" "$2" "http://127.0.0.1:$ZYN_TEST_HTTP_PORT/fixed"' sh "$wine_run" "$game/consumer.exe"
rm -rf "$scratch"
