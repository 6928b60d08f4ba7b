#!/usr/bin/env bash
# Builds zyn for every platform and runs every test:
#   linux       native tests
#   linux-asan  the same tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   linux-tsan  the same tests under ThreadSanitizer (the event queue and the
#               per-thread last error are shared with other threads)
#   mingw-x64   the Windows tests under wine64, against a libcurl.dll built
#               from Debian's curl source (the first build of the preset makes it)
#   mingw-i686  the shipping zyn.dll and every test program, built with warnings
#               as errors (none run: no 32-bit Wine); export and import tables checked
# then the Windows release bundles (scripts/package-windows.sh), the 64-bit one
# used as a game would use it, and, when clang is present, each fuzz target for
# a short bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

JOBS="${ZYN_JOBS:-$(nproc)}"
passed=0
failed=0
failed_presets=()

run_preset() {
  local preset="$1"
  echo "==== ${preset}: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$JOBS"
  echo "==== ${preset}: test"
  local log="build/${preset}/ctest.log"
  if ctest --preset "$preset" -j "$JOBS" --timeout 900 2>&1 | tee "$log"; then :; else failed_presets+=("$preset"); fi
  # Tally from CTest's summary line: "N% tests passed, F tests failed out of T".
  local line total fails
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -n "$line" ]; then
    fails=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - fails))
    failed=$((failed + fails))
  else
    failed=$((failed + 1))
    failed_presets+=("$preset")
  fi
}

for preset in linux linux-asan linux-tsan mingw-x64 mingw-i686; do
  run_preset "$preset"
done

echo "==== Windows release bundles"
if bash scripts/package-windows.sh --check build/mingw-x64/wine-run.sh; then
  passed=$((passed + 1))
else
  failed=$((failed + 1)); failed_presets+=("windows-bundle")
fi

if [ -x scripts/fuzz-smoke.sh ]; then
  echo "==== fuzz targets"
  if bash scripts/fuzz-smoke.sh; then passed=$((passed + 1)); else failed=$((failed + 1)); failed_presets+=("fuzz"); fi
fi

echo
if [ "${#failed_presets[@]}" -ne 0 ]; then
  echo "failing: ${failed_presets[*]}"
fi
echo "${passed} passed, ${failed} failed"
[ "$failed" -eq 0 ] && [ "${#failed_presets[@]}" -eq 0 ]
