#!/usr/bin/env bash
# Installs the package into a scratch prefix and builds a separate host program against it, using
# only find_package(korvane) and <korvane/korvane.h>.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
prefix="$(mktemp -d)"
cmake --install "$build" --prefix "$prefix" >/dev/null
cmake -S tests/install -B "$prefix/host-build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$prefix/host-build" >/dev/null
"$prefix/host-build/host" "$prefix/share/korvane/MachinesParameters.ini"
# The installed Python package, when built, imports and computes from the prefix alone.
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
if [ "$(cache KORVANE_BUILD_PYTHON)" = "ON" ]; then
  paccheto="$prefix/$(cache KORVANE_PYTHON_INSTALL_DIR)"
  python="$(cache Python3_EXECUTABLE)"
  (cd / && PYTHONPATH="$paccheto" MPLBACKEND=Agg "$python" -c \
    "import korvane; print('korvane', korvane.__version__, len(korvane.percorso_di_esempio('cb3d').ArrayTraiettorieGetTraiettoria(0).ArrayPassi), 'steps')")
fi
rm -rf "$prefix"
