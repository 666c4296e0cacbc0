#!/usr/bin/env bash
# Configures and builds both architectures: build/i686 (the toolkit, the
# uninstaller and its tests) first, because the installer of build/x86_64
# (with the client, the toolkit and the other tests) packs the uninstaller.
# The trees are the presets of CMakePresets.json.
#   tools/build.sh [release|debug] [--only x86_64|i686] [--configure-only]
#                  [cmake --build options]
# release (the default) builds everything of build/x86_64 and build/i686;
# debug builds the test programs of build/x86_64-debug and build/i686-debug;
# --only leaves the other architecture's tree alone.
#
# These builds are for tests and demos: every deployment address points at
# a fixed port on 127.0.0.1 (tests and tools/run.sh start the servers), so
# nothing they run sends traffic off this machine. The ports lie below the
# ephemeral ranges of Linux and Windows, so no test server that asks the
# system for a free port can take one of them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/wine-env.sh"
type=release
case ${1:-} in release|debug) type=$1; shift ;; esac
arches=(i686 x86_64)
if [ "${1:-}" = --only ]; then
  arches=("$2")
  shift 2
fi
configure_only=
if [ "${1:-}" = --configure-only ]; then
  configure_only=yes
  shift
fi
build_options=("$@")
if [ "$type" = debug ] && [ ${#build_options[@]} -eq 0 ]; then
  build_options=(--target test_programs)
fi
# VSTORM_PORT_BASE moves the eight ports together, so that two checkouts on
# one machine can run their tests at the same time.
base=${VSTORM_PORT_BASE:-27813}
endpoints=(
  -DVSTORM_STATS_ORIGIN=http://127.0.0.1:$base
  -DVSTORM_LANDING_ORIGIN=http://127.0.0.1:$((base + 1))
  -DVSTORM_OFFICIAL_ORIGIN=http://127.0.0.1:$((base + 2))
  -DVSTORM_FORUM_ORIGIN=http://127.0.0.1:$((base + 3))
  -DVSTORM_MAKER_ORIGIN=http://127.0.0.1:$((base + 4))
  -DVSTORM_TOPUP_ORIGIN=http://127.0.0.1:$((base + 5))
  -DVSTORM_SURVEY_ORIGIN=http://127.0.0.1:$((base + 6))
  # Matched as text in visited addresses: the port keeps it apart from the
  # other loopback addresses.
  -DVSTORM_LOGIN_HOST=127.0.0.1:$((base + 7))
)
# Both trees build their tests, which run in one prefix.
settings=("${endpoints[@]}" -DVSTORM_BUILD_TESTS=ON "-DVSTORM_WINEPREFIX=$TEST_WINEPREFIX")

# True when the tree exists and its cache holds every setting above and the
# preset's (a tree configured before the presets lacks some).
configured() {
  local dir=$1 setting name build_type=Release
  [ "$type" = debug ] && build_type=Debug
  [ -f "$dir/build.ninja" ] || return 1
  for setting in "${settings[@]}" -DCMAKE_BUILD_TYPE=$build_type -DCMAKE_EXPORT_COMPILE_COMMANDS=ON; do
    setting=${setting#-D}
    name=${setting%%=*}
    [ "$(sed -n "s/^$name:[A-Z]*=//p" "$dir/CMakeCache.txt")" = "${setting#*=}" ] || return 1
  done
}

# Where 32-bit programs cannot run, the uninstaller is also built as a
# 64-bit program (build/uninstall-x86_64), whose tests run instead and which
# the installer packs so that its tests run too; build/i686 is still built.
trees=("${arches[@]}")
uninstaller_tree=i686
if [ "$type" = release ] && ! wine_runs_32bit; then
  trees=("${arches[@]/#i686/i686 uninstall-x86_64}")
  read -ra trees <<<"${trees[*]}"
  uninstaller_tree=uninstall-x86_64
fi

cd "$root"
for arch in "${trees[@]}"; do
  preset=$arch-$type
  dir=$root/build/$arch
  [ "$type" = debug ] && dir=$dir-debug
  if [ "$arch" = x86_64 ] && [ "$type" = release ]; then
    settings+=("-DVSTORM_SHIPPED_UNINSTALLER=$root/build/$uninstaller_tree/bin/uninstall.exe")
  fi
  if ! configured "$dir"; then
    cmake --preset "$preset" "${settings[@]}" >/dev/null
  fi
  [ -n "$configure_only" ] || cmake --build --preset "$preset" "${build_options[@]}"
done
