#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite. Extra arguments go to the CMake configuration,
# for example -DKORVANE_SANITIZE=address,undefined. BUILD_DIR chooses the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/charts.sh
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" -DKORVANE_BUILD_TESTS=ON "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
