#!/usr/bin/env bash
# Builds the client alone and starts it under Wine from its own folder
# (build/run). On a desktop it runs until the player closes it; with no
# display it runs in a private Xvfb, a screenshot goes to build/run/ and the
# client is closed after a few seconds. A loopback demo server
# (tools/demo-server.py) stands in for the deployment's web servers
# meanwhile and logs what the client sends to build/run/demo-server.log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
# The client and what it links, nothing else: no tests, no uninstaller, no
# installer.
"$root/tools/build.sh" --only x86_64 --target vstorm

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

# On a desktop the client runs until the player closes it. Without a
# display it runs in a private Xvfb: a screenshot of the launcher goes to
# build/run/, then the client is closed as a player would close it.
desktop=
if [ -n "${DISPLAY:-}" ]; then
  desktop=yes
else
  "$root/tools/setup.sh" imagemagick
fi
# A prefix of the run's own, apart from the tests': Wine's GDI+ does not
# fall back to another face for Chinese glyphs, so the run maps the
# toolkit's Chinese face to an installed one with the glyphs.
"$root/tools/setup.sh" fonts-noto-cjk
wine_session_start "$run/wineprefix" yes
"$WINE64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v '宋体' /d 'Noto Sans CJK SC' /f >/dev/null 2>&1
cp "$build/bin/vstorm.exe" "$run/"
cd "$run"
status=0
if [ -n "$desktop" ]; then
  "$WINE64" vstorm.exe || status=$?
else
  "$WINE64" vstorm.exe &
  client=$!
  sleep 8
  import -window root "$run/screenshot.png" && echo "Screenshot of the launcher: build/run/screenshot.png"
  # taskkill without /F asks the client's windows to close, as their close
  # boxes do; a client that does not end within the deadline is killed.
  "$WINE64" taskkill /IM vstorm.exe >/dev/null 2>&1 || true
  for _ in $(seq 60); do
    kill -0 "$client" 2>/dev/null || break
    sleep 0.5
  done
  if kill -0 "$client" 2>/dev/null; then
    echo "vstorm.exe did not end after the close request; killing it" >&2
    "$WINE64" taskkill /F /IM vstorm.exe >/dev/null 2>&1 || true
  fi
  wait "$client" || status=$?
fi
echo "vstorm.exe exited with $status; its folder is build/run"
echo "What the demo server received (build/run/demo-server.log):"
grep -v '^ready' "$log" || true
