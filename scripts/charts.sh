#!/usr/bin/env bash
# Installs the charting library the studio's page draws its views with (package-lock.json pins it)
# into node_modules (again when the lock file is newer), when npm is on this machine; without it the page works and says the views
# need `npm ci`. Debian's nodejs and npm provide it: scripts/deps.sh nodejs npm.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v npm >/dev/null; then
  echo "charts.sh: npm not found: the studio's views need it (scripts/deps.sh nodejs npm, then npm ci)" >&2
  exit 0
fi
if [ ! node_modules/.package-lock.json -nt package-lock.json ]; then
  npm ci --no-audit --no-fund --loglevel=error
fi
