#!/usr/bin/env bash
# Sets up the machine, builds everything with the sanitizers, runs each fuzz target briefly,
# and runs all tests through ctest (its summary is the last thing printed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

JOBS=${JOBS:-$(nproc)}
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
      -DQVB_SANITIZE=ON -DQVB_TESTS=ON >/dev/null
cmake --build build/test -j "$JOBS"

if [ "${QVB_SKIP_FUZZ:-0}" != 1 ]; then
  cmake -S . -B build/fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVB_FUZZ=ON >/dev/null
  # A fuzz build that does not compile is reported loudly but does not hide the test results;
  # a crash a fuzzer finds fails the run.
  if cmake --build build/fuzz -j "$JOBS" --target fuzzers; then
    bash scripts/run-fuzzers.sh build/fuzz "${QVB_FUZZ_SECONDS:-15}"
  else
    echo "fuzz: BUILD FAILED (clang); fuzz targets not run" >&2
  fi
fi

cd build/test
ctest --output-on-failure -j "$JOBS" --timeout 600
