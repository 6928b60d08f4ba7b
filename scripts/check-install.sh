#!/usr/bin/env bash
# Installs a built tree into a scratch prefix and builds a small game against
# it twice: once with find_package(zyn), once with pkg-config. Both must run.
#   check-install.sh <build-dir> <source-dir> <scratch-dir>
set -euo pipefail
build="$1"; src="$2"; scratch="$3"
rm -rf "$scratch"
prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

cmake -S "$src/examples/consumer" -B "$scratch/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/cmake-build" >/dev/null
"$scratch/cmake-build/consumer"

libdir=$(ls -d "$prefix"/lib*/pkgconfig | head -n 1)
# The .pc file names the configured prefix; point pkg-config at the scratch one.
export PKG_CONFIG_PATH="$libdir"
flags=$(pkg-config --define-variable=prefix="$prefix" --cflags --libs zyn)
# shellcheck disable=SC2086
g++ "$src/examples/consumer/main.cpp" $flags -Wl,-rpath,"$(dirname "$libdir")" -o "$scratch/pc-consumer"
"$scratch/pc-consumer"
rm -rf "$scratch"
