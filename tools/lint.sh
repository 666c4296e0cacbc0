#!/usr/bin/env bash
# The lint gate: Debian's clang-tidy with the checks of .clang-tidy over
# every translation unit of the product (base, ui, net, browser, frames,
# app, uninstall, installer; not tests/ or tools/) and the product headers
# they include. Each unit is read with the compile command of the tree of
# its architecture (build/i686 for uninstall/, build/x86_64 for the rest),
# configured here if needed. Any finding fails. A run over everything that
# finds nothing is remembered: until the product's sources, the settings or
# clang-tidy change, the next one says so and stops.
#   tools/lint.sh [source file...]   (default: all of them)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# What configuring the trees and reading them takes.
"$root/tools/setup.sh" clang-tidy cmake ninja-build g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
  googletest nsis
"$root/tools/build.sh" release --configure-only

# clang does not find the C++ headers of Debian's mingw-w64 g++ by itself,
# so it gets the cross compiler's own search list: the libstdc++ folders
# before clang's built-in headers, the mingw-w64 headers after them. GCC's
# built-in folders (include, include-fixed) are left out: clang has its own.
search_options() {
  local cxx=$1-w64-mingw32-g++-posix builtin dir after=
  builtin=$(realpath "$("$cxx" -print-file-name=include)")
  while IFS= read -r dir; do
    dir=$(realpath "$dir")
    case $dir in
      "$builtin") after=yes ;;
      "$builtin"-fixed) ;;
      *) if [ -n "$after" ]; then echo "--extra-arg=-idirafter$dir"; else echo "--extra-arg=-isystem$dir"; fi ;;
    esac
  done < <("$cxx" -E -v -x c++ /dev/null 2>&1 | sed -n '/^#include <...> search starts here:$/,/^End of search list\.$/s/^ //p')
  [ -n "$after" ] || { echo "lint: no built-in include folder in the search list of $cxx" >&2; return 1; }
}

# The translation units of the product in a tree's compile database.
units() {
  sed -n 's/^  "file": "\(.*\.cpp\)",\{0,1\}$/\1/p' "build/$1/compile_commands.json" |
    grep -E "^$root/($2)/" | sort -u
}

selected() {
  local file
  [ ${#wanted[@]} -eq 0 ] && return 0
  for file in "${wanted[@]}"; do
    [ "$file" = "$1" ] && return 0
  done
  return 1
}

wanted=()
for file in "$@"; do
  wanted+=("$(realpath "$file")")
done
stamp=$root/build/lint-clean
state=$( (clang-tidy --version; cat .clang-tidy tools/lint.sh build/{x86_64,i686}/compile_commands.json
  git ls-files -co --exclude-standard base ui net browser frames app uninstall installer res |
    grep -E '\.(h|cpp|in)$' | xargs -d "\n" cat) | sha256sum)
if [ ${#wanted[@]} -eq 0 ] && [ "$(cat "$stamp" 2>/dev/null)" = "$state" ]; then
  echo "lint: no findings (nothing changed since the last run)"
  exit 0
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for arch in x86_64 i686; do
  if [ "$arch" = i686 ]; then folders=uninstall; else folders='base|ui|net|browser|frames|app|installer'; fi
  mapfile -t options < <(search_options "$arch")
  # The database has no -std flag (g++ 12 defaults to gnu++17, clang 14 to
  # gnu++14) and g++'s -Werror would turn clang's own warnings into errors.
  options+=(-p "build/$arch" --quiet "--header-filter=^$root/(base|ui|net|browser|frames|app|uninstall|installer|res)/"
    --extra-arg=--target=$arch-w64-mingw32 --extra-arg=-nostdlibinc --extra-arg=-std=gnu++17 --extra-arg=-Wno-error)
  while IFS= read -r unit; do
    selected "$unit" && printf '%s\0' "$unit"
  done < <(units "$arch" "$folders") >"$out/$arch.units"
  # One clang-tidy a unit, as many at once as there are cores.
  xargs -0 -r -P "$(nproc)" -I{} sh -c 'f=$1; shift; clang-tidy "$@" "$f" >"$0/$(echo "$f" | tr / _).out" 2>"$0/$(echo "$f" | tr / _).err" || echo "$f" >>"$0/failed"' \
    "$out" {} "${options[@]}" <"$out/$arch.units"
done
for file in "${wanted[@]}"; do
  cat "$out"/*.units | tr '\0' '\n' | grep -qxF "$file" ||
    { echo "lint: $file is not a translation unit of the product" >&2; exit 1; }
done

# A header's finding comes once from every unit that includes it: print each
# once, with its notes.
cat "$out"/*.out 2>/dev/null | awk '
  /^[^ ].*:[0-9]+:[0-9]+: (warning|error): / { keep = !seen[$0]++; if (keep) count++ }
  keep { print }
  END { if (count) printf "lint: %d findings\n", count }' >"$out/findings"
cat "$out/findings"
if [ -s "$out/findings" ] || [ -f "$out/failed" ]; then
  if [ -f "$out/failed" ] && [ ! -s "$out/findings" ]; then
    # clang-tidy failed without a finding: show why.
    while IFS= read -r unit; do
      cat "$out/$(echo "$unit" | tr / _).err" >&2
    done <"$out/failed"
  fi
  exit 1
fi
[ ${#wanted[@]} -gt 0 ] || echo "$state" >"$stamp"
echo "lint: no findings in $(cat "$out"/*.units | tr -cd '\0' | wc -c) translation unit(s)"
