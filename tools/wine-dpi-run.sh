#!/usr/bin/env bash
# Runs one Windows program at a DPI on a screen of its own: a session in the
# DPI's prefix (wine_dpi_prefix) with a private Xvfb of that size. With
# VSTORM_TEST_WORKAREA="left,top,width,height" the screen announces that
# work area (_NET_WORKAREA, as a desktop with a taskbar does), which Wine
# reports to the programs.
#   wine-dpi-run.sh DPI WIDTHxHEIGHT program.exe [args...]
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/wine-env.sh"
dpi=$1 screen=$2
shift 2
prefix=$(wine_dpi_prefix "$dpi")
trap wine_session_stop EXIT
xvfb_start "$screen"
own_xvfb=$XVFB_PID
if [ -n "${VSTORM_TEST_WORKAREA:-}" ]; then
  xprop -root -f _NET_SUPPORTED 32a -set _NET_SUPPORTED _NET_WORKAREA
  xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "$VSTORM_TEST_WORKAREA"
fi
wine_session_start "$prefix" yes
XVFB_PID=$own_xvfb
"$WINE64" "$@"
