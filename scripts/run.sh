#!/usr/bin/env bash
# Sets up the machine, builds the programs (optimised) and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVB_TESTS=OFF >/dev/null
cmake --build build/release -j "${JOBS:-$(nproc)}"
build/release/tools/qvbtool/qvbtool --help
