#!/usr/bin/env bash
# The whole test suite: installs what is missing, checks the include graph,
# runs the lint gate (tools/lint.sh), builds both architectures and runs
# every test under Wine inside a private Xvfb: the x86_64 tree's, then the
# uninstaller tree's (build/i686, or build/uninstall-x86_64 where 32-bit
# programs cannot run), one after the other in one prefix, so
# that no two programs ever move the cursor at once. Then it builds the
# Debug trees' test programs and runs their unit tests (not the
# whole-program ones) in the same session. Extra arguments go to every ctest
# run (for example -R WindowCtrl); a tree with no test they select is left
# out.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/check-layers.sh"
"$root/tools/lint.sh"
"$root/tools/build.sh"

source "$root/tools/wine-env.sh"
trap wine_session_stop EXIT
wine_session_start "$TEST_WINEPREFIX"
cd "$root"
status=0
selected=0
# Where 32-bit programs cannot run, the uninstaller's tests run in the
# 64-bit uninstaller tree that tools/build.sh makes, and the 32-bit tree's
# Debug unit tests are left out.
release_trees=(x86_64 i686)
debug_trees=(x86_64 i686)
if ! wine_runs_32bit; then
  echo "NOTICE: this machine cannot run 32-bit programs, so the shipped 32-bit uninstaller is built but" \
    "not run; its tests run against a 64-bit build of the same sources (build/uninstall-x86_64)." >&2
  release_trees=(x86_64 uninstall-x86_64)
  debug_trees=(x86_64)
fi
# Runs the tests of the trees of a build type (the test presets of
# CMakePresets.json: the Debug ones leave out the label "whole").
run_tests() {
  local type=$1 arch trees
  shift
  trees=("${release_trees[@]}")
  [ "$type" = debug ] && trees=("${debug_trees[@]}")
  for arch in "${trees[@]}"; do
    if [ $# -gt 0 ] && ctest --preset "$arch-$type" -N "$@" | grep -qx 'Total Tests: 0'; then
      continue
    fi
    selected=$((selected + 1))
    ctest --preset "$arch-$type" -j "$(nproc)" "$@" || status=$?
  done
}
run_tests release "$@"
"$root/tools/build.sh" debug
run_tests debug "$@"
if [ "$selected" -eq 0 ]; then
  echo "No test matches: $*" >&2
  exit 1
fi
exit "$status"
