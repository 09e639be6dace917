#!/usr/bin/env bash
# Installs the package into a scratch prefix and builds the README's hosts against it exactly as
# the README writes them for /opt/korvane (the prefix put in its place): the CMake project, which sets
# no C++ standard of its own, then plain g++ and pkg-config. Each host runs without LD_LIBRARY_PATH.
# When the build has the Python package, scripts/python.sh installs it into a fresh prefix, and the
# line it prints is all the plot command and every numbered example get to find it.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
macchina="$prefix/share/korvane/MachinesParameters.ini"
# The installed program finds the library by the path recorded in it.
if [ -x "$prefix/bin/korvane" ]; then
  env -u LD_LIBRARY_PATH "$prefix/bin/korvane" machine "$macchina" >/dev/null
fi
# A fenced block of the README by its info string, with the prefix in place of /opt/korvane.
blocco() { awk -v f="$1" '$0 == "```" f {dentro = 1; next} dentro && /^```/ {exit} dentro' README.md | sed "s|/opt/korvane|$prefix|g"; }
host="$prefix/host"
mkdir -p "$host"
cp tests/install/host.cpp "$host/"
blocco cmake >"$host/CMakeLists.txt"
if ! grep -q 'korvane::korvane' "$host/CMakeLists.txt" || grep -q CMAKE_CXX_STANDARD "$host/CMakeLists.txt"; then
  echo "check-install: the README's CMake host is not a whole project without a standard of its own" >&2
  exit 1
fi
cmake -S "$host" -B "$host/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$host/build" >/dev/null
env -u LD_LIBRARY_PATH "$host/build/host" "$macchina"
comandi="$(blocco bash)"
[ "$(grep -c '^g++ ' <<<"$comandi")" -eq 2 ]
while read -r comando; do
  rm -f "$host/host"
  (cd "$host" && eval "$comando" && env -u LD_LIBRARY_PATH ./host "$macchina")
done < <(grep '^g++ ' <<<"$comandi")

cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
if [ "$(cache KORVANE_BUILD_PYTHON)" = "ON" ]; then
  detto="$(PREFIX="$prefix/python" BUILD_DIR="$build" scripts/python.sh)"
  echo "$detto"
  riga="$(grep '^export PYTHONPATH=' <<<"$detto")"
  python="$(sed -n 's/^Then: \(.*\) -m korvane .*/\1/p' <<<"$detto")"
  esempi=("$PWD"/examples/python/[0-9]*.py)
  (cd "$prefix" && eval "$riga" && export MPLBACKEND=Agg && unset LD_LIBRARY_PATH &&
    "$python" -m korvane plot --example pan --out "$prefix/plot" >/dev/null &&
    for esempio in "${esempi[@]}"; do "$python" "$esempio" "$prefix/esempi" >/dev/null; done)
  echo "check-install: the Python package from $prefix/python ran the plot and ${#esempi[@]} examples"
fi
