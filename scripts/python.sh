#!/usr/bin/env bash
# Sets up, builds and installs the library, the command and the korvane Python package (prefix
# /usr/local unless PREFIX says otherwise; BUILD_DIR chooses the build folder), then prints the one
# line that puts the package on Python's path and imports the package with that line alone, from
# outside the source tree, as a user would.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/charts.sh
build="${BUILD_DIR:-build}"
prefix="$(realpath -m "${PREFIX:-/usr/local}")"
# A build tree made already keeps its own choices (a test build keeps its tests).
configurazione=(-DKORVANE_BUILD_PYTHON=ON)
[ -f "$build/CMakeCache.txt" ] || configurazione+=(-DKORVANE_BUILD_TESTS=OFF)
cmake -S . -B "$build" "${configurazione[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
sudo_cmd=""
if [ "$(id -u)" -ne 0 ] && ! { mkdir -p "$prefix" 2>/dev/null && [ -w "$prefix" ]; }; then
  sudo_cmd="sudo"
fi
installato="$($sudo_cmd cmake --install "$build" --prefix "$prefix")"
riga="$(sed -n 's/^-- korvane Python package for [^:]*: //p' <<<"$installato")"
python="$(sed -n 's/^-- korvane Python package for \([^:]*\): .*/\1/p' <<<"$installato")"
if [ -z "$riga" ] || [ -z "$python" ]; then
  echo "python.sh: the install did not say where the Python package went (is KORVANE_BUILD_PYTHON on in $build?)" >&2
  exit 1
fi
(cd / && eval "$riga" && "$python" -c "import korvane") || {
  echo "python.sh: the installed package does not import with: $riga" >&2
  exit 1
}
echo "korvane installed in $prefix. Add this line to your environment (for example to ~/.profile):"
echo "$riga"
# The package needs NumPy: say so when the python3 a user types is not an interpreter that has it.
primo="$(command -v python3 || true)"
if [ -n "$primo" ] && (cd / && eval "$riga" && "$primo" -c "import numpy, korvane" >/dev/null 2>&1); then
  echo "Then: python3 -m korvane plot --example pan --out /tmp/pan"
else
  echo "python3 on your PATH (${primo:-none}) cannot import NumPy and korvane: use $python, for example"
  echo "Then: $python -m korvane plot --example pan --out /tmp/pan"
fi
