#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds both architectures,
# and runs every test under Wine inside a private Xvfb. Extra arguments go
# to ctest (for example -R WindowCtrl).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh"

source "$root/tools/wine-env.sh"
build=$root/build/x86_64
trap wine_session_stop EXIT
wine_session_start "$build/wineprefix"
cd "$build"
ctest --output-on-failure --no-tests=error -j "$(nproc)" "$@"
