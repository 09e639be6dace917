#!/usr/bin/env bash
# Sets up, builds and installs the library, the command and the korvane Python package (prefix
# /usr/local unless PREFIX says otherwise), then imports the package as a host would.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DKORVANE_BUILD_TESTS=OFF -DKORVANE_BUILD_PYTHON=ON >/dev/null
cmake --build build -j"$(nproc)"
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
$sudo_cmd cmake --install build --prefix "${PREFIX:-/usr/local}" >/dev/null
python="$(sed -n 's/^Python3_EXECUTABLE:[A-Z]*=//p' build/CMakeCache.txt)"
(cd / && "$python" -c "import korvane; print('korvane', korvane.__version__, 'installed for', '$python')")
