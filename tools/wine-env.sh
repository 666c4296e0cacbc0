# Shared by the scripts that run Windows programs: the Wine binaries, the
# tests' prefix, a private X display and a persistent wineserver.
# Source it; it defines functions and changes nothing by itself.

WINE64=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver
# The prefix the tests of both build trees run in, one after the other
# (tools/build.sh configures both trees with it).
TEST_WINEPREFIX=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix

# Keeps what programs in the prefix do to the user's shell inside it. Wine
# links the profile's Desktop, Documents, Templates and other folders to
# $HOME and mirrors shortcuts into the host's menus and icons
# (winemenubuilder): an installer tested here would otherwise put its
# shortcuts into the real home, and a test that empties a shell folder
# would empty the home.
# Lists the links of the profiles that lead out of the prefix (links that
# tests make inside it are theirs).
wine_prefix_outside_links() {
  local inside link
  inside=$(readlink -f "$1")
  find "$1/drive_c/users" -type l 2>/dev/null | while IFS= read -r link; do
    case $(readlink -f "$link") in
      "$inside"/*) ;;
      *) printf '%s\n' "$link" ;;
    esac
  done
}
wine_prefix_has_links() {
  [ -n "$(wine_prefix_outside_links "$1")" ]
}
wine_prefix_sandbox() {
  local prefix=$1 link
  wine_prefix_outside_links "$prefix" | while IFS= read -r link; do
    rm "$link"
    mkdir "$link"
  done
  WINEPREFIX="$prefix" WINEDEBUG=-all "$WINE64" reg add 'HKCU\Software\Wine\DllOverrides' \
    /v winemenubuilder.exe /d '' /f >/dev/null 2>&1
}

# Whether this machine runs 32-bit programs: Wine's 32-bit loader is an
# i386 program, which a kernel without IA32 emulation refuses to execute.
# The shipped uninstaller is tested only where this holds; elsewhere its
# tests run against a 64-bit build of the same sources.
wine_runs_32bit() {
  "$WINE32" --version >/dev/null 2>&1
}

# The Wine installation a prefix is made with. A prefix made before wine32
# was installed cannot start any program once it is (kernel32.dll is not
# found), so a prefix is only used with the installation it was made with.
wine_installation() {
  dpkg-query -W wine64 wine32:i386 2>/dev/null
}
wine_prefix_current() {
  [ -f "$1/system.reg" ] && [ "$(cat "$1/.made-with" 2>/dev/null)" = "$(wine_installation)" ]
}

# Creates the prefix once (anew when Wine changed), and sandboxes it while
# it has links to the home (also a prefix made before sandboxing was done
# here). Mono and Gecko are switched off while it is made, so no installer
# dialog waits for an answer.
wine_prefix_ensure() {
  local prefix=$1
  wine_prefix_current "$prefix" && ! wine_prefix_has_links "$prefix" && return 0
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ -f "$prefix/system.reg" ] && ! wine_prefix_current "$prefix"; then
      WINEPREFIX="$prefix" "$WINESERVER" -k >/dev/null 2>&1 || true
      rm -rf "$prefix"
    fi
    if [ ! -f "$prefix/system.reg" ]; then
      WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
        "$WINE64" wineboot -i >/dev/null 2>&1
      # A crashing test must fail, not wait for someone to close a dialog.
      WINEPREFIX="$prefix" WINEDEBUG=-all "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' \
        /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      # Windows Wine leaves unmanaged are shown, activated and destroyed at
      # once; handing them to an absent window manager costs seconds each.
      WINEPREFIX="$prefix" WINEDEBUG=-all "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' \
        /v Managed /d N /f >/dev/null 2>&1
      wine_installation >"$prefix/.made-with"
    fi
    if wine_prefix_has_links "$prefix"; then
      wine_prefix_sandbox "$prefix"
    fi
    WINEPREFIX="$prefix" "$WINESERVER" -w
  ) 9>"$prefix.lock"
}

# Starts Xvfb on a free display (1600x900 unless a WIDTHxHEIGHT is given)
# and exports DISPLAY. It never resets, so what is set on its root window
# (a work area) outlives the client that set it.
xvfb_start() {
  local fifo screen=${1:-1600x900}
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -noreset -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local display
  read -r display <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$display"
}

# Starts a private PulseAudio server with one null sink, so that Wine's Core
# Audio finds a default render endpoint and programs have real audio
# sessions; nothing is heard. Its socket lives in a folder of its own, which
# PULSE_SERVER names for the programs started after this.
pulse_start() {
  PULSE_PID=
  command -v pulseaudio >/dev/null 2>&1 || return 0
  PULSE_DIR=$(mktemp -d "${TMPDIR:-/tmp}/vstorm-pulse.XXXXXX")
  PULSE_RUNTIME_PATH=$PULSE_DIR PULSE_STATE_PATH=$PULSE_DIR XDG_RUNTIME_DIR=$PULSE_DIR \
    pulseaudio --daemonize=no --exit-idle-time=-1 -n --disable-shm --log-target=stderr \
    --load=module-null-sink "--load=module-native-protocol-unix auth-anonymous=1 socket=$PULSE_DIR/native" \
    </dev/null >"$PULSE_DIR/log" 2>&1 &
  PULSE_PID=$!
  export PULSE_SERVER=unix:$PULSE_DIR/native
  local waited=0
  while [ ! -S "$PULSE_DIR/native" ] && [ $waited -lt 50 ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
}

pulse_stop() {
  if [ -n "${PULSE_PID:-}" ]; then
    kill "$PULSE_PID" 2>/dev/null || true
    wait "$PULSE_PID" 2>/dev/null || true
    PULSE_PID=
  fi
  if [ -n "${PULSE_DIR:-}" ]; then
    rm -rf "$PULSE_DIR"
    PULSE_DIR=
  fi
}

# Everything a run of Windows programs needs: the prefix, a display (our own
# Xvfb unless one is given and use_display_if_set is "yes"), an audio server
# and a persistent wineserver. wine_session_stop undoes it; the caller traps
# it.
wine_session_start() {
  local prefix=$1 use_display_if_set=${2:-no}
  export WINEPREFIX=$prefix
  export WINEDEBUG=${WINEDEBUG:--all}
  wine_prefix_ensure "$prefix"
  XVFB_PID=
  if [ "$use_display_if_set" != yes ] || [ -z "${DISPLAY:-}" ]; then
    xvfb_start
  fi
  pulse_start
  "$WINESERVER" -p
  # Start Wine's background services now, with their output going nowhere:
  # started by the first test instead, they would inherit its output pipe
  # and keep whoever reads it (ctest) waiting after the test has ended.
  "$WINE64" wineboot </dev/null >/dev/null 2>&1
  # Likewise the desktop process (explorer.exe /desktop), which the first
  # program that asks for the desktop window starts: it would hold that
  # test's error output for the rest of the session.
  "$WINE64" rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
}

# A prefix like the tests' whose programs see the given DPI: its LogPixels,
# which Wine reads when the prefix's wineserver starts. Made once per DPI.
wine_dpi_prefix() {
  local dpi=$1 prefix="$TEST_WINEPREFIX-dpi$1"
  wine_prefix_ensure "$prefix"
  if [ "$(cat "$prefix/.dpi" 2>/dev/null)" != "$dpi" ]; then
    WINEPREFIX="$prefix" WINEDEBUG=-all "$WINE64" reg add 'HKCU\Control Panel\Desktop' \
      /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    WINEPREFIX="$prefix" "$WINESERVER" -w
    echo "$dpi" >"$prefix/.dpi"
  fi
  printf '%s\n' "$prefix"
}

wine_session_stop() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  pulse_stop
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
}
