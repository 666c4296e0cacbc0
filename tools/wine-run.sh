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
# A program only has a missing or stale prefix made. The look for links out
# of the profile is the session's (wine_session_start): while tests run,
# their own links come and go there, and one caught half made or half gone
# would be replaced under that test.
wine_prefix_current "$WINEPREFIX" || wine_prefix_ensure "$WINEPREFIX"
exec "$WINE64" "$@"
