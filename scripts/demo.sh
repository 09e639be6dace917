#!/usr/bin/env bash
# Sets up, builds and runs the main job: a cone-beam 3D scan on the bundled example machine,
# written into ./out/cb3d (the step buffer scan.bin and the axis states axes.csv).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DKORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target korvane-cli
build/bin/korvane cb3d --machine examples/MachinesParameters.ini --out out/cb3d "$@"
