#!/usr/bin/env bash
# Runs one Windows program under Wine: the test runner's emulator.
#   wine-run.sh [--prefix DIR] program.exe [args...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
if [ "${1:-}" = --prefix ]; then
  export WINEPREFIX=$2
  shift 2
fi
: "${WINEPREFIX:?set WINEPREFIX or pass --prefix}"
export WINEDEBUG=${WINEDEBUG:--all}
wine_prefix_ensure "$WINEPREFIX"
exec "$WINE64" "$@"
