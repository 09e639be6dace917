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
rm -rf "$prefix"
