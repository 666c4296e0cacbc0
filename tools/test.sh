#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds both architectures,
# and runs every test under Wine inside a private Xvfb: the x86_64 tree's,
# then the i686 tree's (the uninstaller's), one after the other in one
# prefix, so that no two programs ever move the cursor at once. Extra
# arguments go to both trees' ctest (for example -R WindowCtrl); a tree
# with no test they select is left out.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/check-layers.sh"
"$root/tools/build.sh"

source "$root/tools/wine-env.sh"
trap wine_session_stop EXIT
wine_session_start "$TEST_WINEPREFIX"
status=0
selected=0
for arch in x86_64 i686; do
  cd "$root/build/$arch"
  if [ $# -gt 0 ] && ctest -N "$@" | grep -qx 'Total Tests: 0'; then
    continue
  fi
  selected=$((selected + 1))
  ctest --output-on-failure --no-tests=error -j "$(nproc)" "$@" || status=$?
done
if [ "$selected" -eq 0 ]; then
  echo "No test matches: $*" >&2
  exit 1
fi
exit "$status"
