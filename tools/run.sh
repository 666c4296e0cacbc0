#!/usr/bin/env bash
# Builds the client and starts it under Wine from its own folder
# (build/run), inside a private Xvfb when there is no display. A loopback
# demo server (tools/demo-server.py) stands in for the deployment's web
# servers meanwhile and logs what the client sends to build/run/demo-server.log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh"

source "$root/tools/wine-env.sh"
build=$root/build/x86_64
run=$root/build/run
mkdir -p "$run"

# The addresses the client was built with, each with its role
# (stats=http://127.0.0.1:27813 ...; tools/build.sh puts them all on
# 127.0.0.1, and the demo server refuses anything else).
origins=$(sed -n -e 's/^VSTORM_\([A-Z]*\)_ORIGIN:STRING=\(.*\)$/\L\1\E=\2/p' \
  -e 's/^VSTORM_LOGIN_HOST:STRING=/login=/p' "$build/CMakeCache.txt")
log=$run/demo-server.log
server_pid=
stop() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  wine_session_stop
}
trap stop EXIT
# shellcheck disable=SC2086
python3 "$root/tools/demo-server.py" $origins >"$log" 2>&1 &
server_pid=$!
for _ in $(seq 50); do
  grep -q '^ready' "$log" && break
  kill -0 "$server_pid" 2>/dev/null || { cat "$log" >&2; exit 1; }
  sleep 0.1
done

wine_session_start "$build/wineprefix" yes
cp "$build/bin/vstorm.exe" "$run/"
cd "$run"
status=0
"$WINE64" vstorm.exe || status=$?
echo "vstorm.exe exited with $status; its folder is build/run"
echo "What the demo server received (build/run/demo-server.log):"
grep -v '^ready' "$log" || true
