#!/usr/bin/env bash
# Checks that every #include of the product runs down the library graph,
# never up: base at the ground; ui and net on it; browser on ui; frames on
# browser (and net); app on frames; the uninstaller on base, ui and net; the
# installer's plug-in on the uninstaller's folder rule. The resource ids of
# res/ lie at the ground beside base, for the windows that draw the
# pictures; the resource scripts include base's version. Tests and tools may
# include anything. Prints each include that
# climbs and exits 1 when there is one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# The folders each folder may include from, itself included.
declare -A allowed=(
  [base]="base"
  [ui]="base ui"
  [net]="base net"
  [browser]="base ui browser"
  [frames]="base res ui net browser frames"
  [app]="base res ui net browser frames app"
  [uninstall]="base res ui net uninstall"
  [installer]="base uninstall installer"
  [res]="base res"
)

status=0
for folder in "${!allowed[@]}"; do
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$line")
    if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
      echo "$file includes from $target/, above $folder/: ${line#*:}"
      status=1
    fi
  done < <(git grep -n -E '^\s*#\s*include "[^/"]+/' -- "$folder/" || true)
done
exit $status
