#!/usr/bin/env bash
# Builds the client and starts it under Wine from its own folder
# (build/run), inside a private Xvfb when there is no display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh"

source "$root/tools/wine-env.sh"
build=$root/build/x86_64
trap wine_session_stop EXIT
wine_session_start "$build/wineprefix" yes
mkdir -p "$root/build/run"
cp "$build/bin/vstorm.exe" "$root/build/run/"
cd "$root/build/run"
status=0
"$WINE64" vstorm.exe || status=$?
echo "vstorm.exe exited with $status; its folder is build/run"
