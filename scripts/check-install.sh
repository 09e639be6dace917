#!/usr/bin/env bash
# Installs the package into a scratch prefix and builds one host program against it twice: with
# find_package(korvane), and by hand with only -I<prefix>/include -L<prefix>/lib -lkorvane; then
# checks the pkg-config file.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
macchina="$prefix/share/korvane/MachinesParameters.ini"
cmake -S tests/install -B "$prefix/host-build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$prefix/host-build" >/dev/null
"$prefix/host-build/host" "$macchina"
libdir="$(dirname "$(find "$prefix" -name 'libkorvane.so' | head -n 1)")"
g++ -std=c++20 -I"$prefix/include" tests/install/host.cpp -L"$libdir" -lkorvane -Wl,-rpath,"$libdir" \
  -o "$prefix/host-semplice"
"$prefix/host-semplice" "$macchina"
PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags --libs korvane | grep -q -- "-lkorvane"
# The installed Python package, when built, imports and computes from the prefix alone.
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
if [ "$(cache KORVANE_BUILD_PYTHON)" = "ON" ]; then
  pacchetto="$prefix/$(cache KORVANE_PYTHON_INSTALL_DIR)"
  python="$(cache Python3_EXECUTABLE)"
  (cd / && PYTHONPATH="$pacchetto" MPLBACKEND=Agg "$python" -c \
    "import korvane; print('korvane', korvane.__version__, len(korvane.percorso_di_esempio('cb3d').ArrayTraiettorieGetTraiettoria(0).ArrayPassi), 'steps')")
fi
