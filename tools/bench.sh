#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine in a private Xvfb. Each
# prints its figures against a floor measured in the same run: the layered
# redraw of a back-frame-like window as a hover moves, against
# UpdateLayeredWindow alone; the client's start to its launcher on screen,
# in a counted run and in a first run whose statistics endpoint never
# answers, and its resident memory in login mode, against a bare program
# with one layered window of the same picture. Both at 100 % and at 200 %
# (a prefix of 192 DPI on a screen the launcher fits at that scale, where
# the floors show the same picture at the same scale). Then the size of
# vstorm.exe.
# The machine's load weighs on the figures: the script prints it too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh"
build=$root/build/x86_64
cmake --build "$build" --target paint_bench start_bench

source "$root/tools/wine-env.sh"
echo "Load before: $(cut -d ' ' -f 1-3 /proc/loadavg)"
trap wine_session_stop EXIT
wine_session_start "$TEST_WINEPREFIX"
echo "== at 100 % (96 DPI)"
"$WINE64" "$build/bin/paint_bench.exe"
"$WINE64" "$build/bin/start_bench.exe"
wine_session_stop
trap - EXIT
echo "== at 200 % (192 DPI)"
"$root/tools/wine-dpi-run.sh" 192 3000x1400 "$build/bin/paint_bench.exe"
"$root/tools/wine-dpi-run.sh" 192 3000x1400 "$build/bin/start_bench.exe"
size=$(stat -c %s "$build/bin/vstorm.exe")
echo "Size of vstorm.exe with all artwork: $size bytes ($((size / 1024)) KB; at most 1536 KB)"
echo "Load after: $(cut -d ' ' -f 1-3 /proc/loadavg)"
