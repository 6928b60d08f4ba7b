#!/usr/bin/env bash
# Runs the demo (with the runner given before it, such as Wine's) and checks
# that it ran to its end and that the download scene drew its progress line
# and finished with the whole file.
#   check-demo.sh [RUNNER...] DEMO
set -euo pipefail
out=$("$@" </dev/null | tr -d '\r')
echo "$out"
grep -Eq 'frame +[0-9]+: +[1-9][0-9]* bytes of +[1-9][0-9]*,' <<<"$out"
grep -Eq 'done after [0-9]+ frames: [1-9][0-9]* bytes' <<<"$out"
grep -q '^unloaded; bye$' <<<"$out"
