#!/usr/bin/env bash
# End-to-end under Xvfb: the program started with a missing project file shows its progress
# screen with the three error lines, then runs until closed and exits with code 0.
# Usage: e2e_startup.sh CORVANE_BINARY [OUTPUT_DIR]
set -uo pipefail

BIN=$(realpath "$1")
OUT=${2:-$(mktemp -d)}
mkdir -p "$OUT"
WORK=$(mktemp -d)
DISPLAY_NUM=${CORVANE_E2E_DISPLAY:-:97}

cleanup() {
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "e2e_startup: FAIL: $*" >&2
  exit 1
}

Xvfb "$DISPLAY_NUM" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY=$DISPLAY_NUM GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
unset CORVANE_HEADLESS
for _ in $(seq 150); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"

cd "$WORK" || exit 1
"$BIN" "$WORK/missing-project.xml" >"$OUT/stdout.txt" 2>"$OUT/stderr.txt" &
APP_PID=$!

# The program runs in a UTF-8 locale once GTK is up, where xdotool cannot match names: find
# its windows by process id and tell the main window by its title.
main_window() {
  for w in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "Corvane V0.01" ] && { echo "$w"; return; }
  done
}
WID=""
for _ in $(seq 100); do
  WID=$(main_window)
  [ -n "$WID" ] && break
  kill -0 "$APP_PID" 2>/dev/null || fail "program ended before showing its window"
  sleep 0.1
done
[ -n "$WID" ] || fail "no main window"

# The map step reports the missing map in a message box: answer every box that turns up
# until the error lines are on the screen.
shot="$OUT/startup-errors.png"
found=0
for _ in $(seq 80); do
  for w in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
    [ "$w" = "$WID" ] && continue
    xdotool windowactivate --sync "$w" >/dev/null 2>&1
    xdotool key --window "$w" Return >/dev/null 2>&1
  done
  import -window "$WID" "$shot" 2>/dev/null || { sleep 0.1; continue; }
  # Error lines start at y = 100: some light pixels there mean they are drawn.
  lit=$(convert "$shot" -crop 300x30+5+100 +repage -colorspace gray -format '%[fx:maxima]' info: 2>/dev/null)
  if [ -n "$lit" ] && awk "BEGIN{exit !($lit > 0.5)}"; then found=1; break; fi
  sleep 0.1
done
[ "$found" = 1 ] || fail "error lines never appeared (last screenshot: $shot)"
echo "e2e_startup: progress screen with error lines: $shot"

# Let the sequence end and the map view run a while, then close the window.
sleep 3
kill -0 "$APP_PID" 2>/dev/null || fail "program ended on its own"
xdotool key --window "$WID" alt+F4 >/dev/null 2>&1
for _ in $(seq 50); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$APP_PID" 2>/dev/null; then
  echo "e2e_startup: Alt+F4 did not close the window; sending SIGTERM"
  kill -TERM "$APP_PID"  # the close request a session manager would send
fi
wait "$APP_PID"
code=$?
APP_PID=""
[ "$code" = 0 ] || fail "exit code $code"
echo "e2e_startup: PASS"
