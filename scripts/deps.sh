#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the command-line tool and the Python package
# need, when missing, and any further packages named as arguments. The studio serves its page with
# FastAPI and uvicorn; httpx is what FastAPI's test client speaks through.
set -euo pipefail
paccheti=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev locales-all
  python3 python3-dev pybind11-dev python3-pybind11 python3-numpy python3-matplotlib python3-pytest
  python3-fastapi python3-uvicorn python3-httpx "$@")
mancanti=()
for p in "${paccheti[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || mancanti+=("$p")
done
if [ ${#mancanti[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${mancanti[@]}"
fi
