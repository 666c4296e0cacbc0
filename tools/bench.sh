#!/usr/bin/env bash
# Builds the paint benchmark and runs it under Wine in a private Xvfb; it
# prints the layered Redraw time of a back-frame-like window against the
# UpdateLayeredWindow floor measured in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh"
build=$root/build/x86_64
cmake --build "$build" --target paint_bench

source "$root/tools/wine-env.sh"
trap wine_session_stop EXIT
wine_session_start "$build/wineprefix"
"$WINE64" "$build/bin/paint_bench.exe"
