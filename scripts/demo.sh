#!/usr/bin/env bash
# Builds libzyn.so and runs the terminal demo. Arguments go to the demo
# (a URL, for example, for the download scene).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" --target zyn_demo
exec ./build/linux/examples/zyn_demo "$@"
