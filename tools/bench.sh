#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine in a private Xvfb. Each
# prints its figures against a floor measured in the same run: the layered
# Redraw of a back-frame-like window against UpdateLayeredWindow alone, and
# the client's start to its launcher on screen against a bare program with
# one layered window of the same picture. Then the size of vstorm.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh"
build=$root/build/x86_64
cmake --build "$build" --target paint_bench start_bench

source "$root/tools/wine-env.sh"
trap wine_session_stop EXIT
wine_session_start "$TEST_WINEPREFIX"
"$WINE64" "$build/bin/paint_bench.exe"
"$WINE64" "$build/bin/start_bench.exe"
echo "Size of vstorm.exe with all artwork: $(stat -c %s "$build/bin/vstorm.exe") bytes"
