#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer) and runs each for a
# short bounded time, starting from its seed corpus in fuzz/corpus/<target>/
# when there is one. Any crash, leak, hang or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_PER_TARGET="${ZYN_FUZZ_SECONDS:-20}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${ZYN_JOBS:-$(nproc)}"

shopt -s nullglob
status=0
ran=0
for src in fuzz/*_fuzz.cpp; do
  name=$(basename "$src" .cpp)
  exe="build/fuzz/fuzz/$name"
  work="build/fuzz/corpus/$name"
  mkdir -p "$work"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  echo "fuzz: $name for ${SECONDS_PER_TARGET}s"
  if ! "$exe" -max_total_time="$SECONDS_PER_TARGET" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="build/fuzz/$name-" "$work" "${seeds[@]}" > "build/fuzz/$name.log" 2>&1; then
    echo "fuzz: $name FAILED"; tail -n 40 "build/fuzz/$name.log"; status=1
  fi
  ran=$((ran + 1))
done
echo "fuzz: $ran targets run"
exit $status
