#!/bin/sh
# Regenerates the example projects in examples/projects/ from the example exams; without this, the
# project file test fails when a checked-in project differs from what the library writes now.
# Usage: scripts/progetti-esempio.sh [build folder]
set -eu
cartella=$(cd "$(dirname "$0")/.." && pwd)
KORVANE_RIGENERA_PROGETTI=1 "${1:-$cartella/build}/bin/test_path" --gtest_filter='FilePercorso.ProgettiDiEsempio'
