# Shared helpers of the end-to-end checks: a private X server, the program on a scratch copy
# of the demo project, and bounded waits (never a bare sleep that hopes).
# Usage: source lib.sh; every check gets CORVANE (the program) and DEMO (the demo folder)
# as its first two arguments.
set -euo pipefail

CORVANE=$(readlink -f "${1:?program}")
DEMO=$(readlink -f "${2:?demo folder}")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/corvane-e2e.XXXXXX")
XVFB_PID=""
APP_PID=""
SHOTS=${CORVANE_E2E_SHOTS:-$WORK}

export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
# A German locale where there is one: the program must keep working (and write '.' in
# numbers) whatever the desktop's language.
if locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then export LANG=de_DE.UTF-8; fi
# The program's own texts stay English, as the checks find its boxes by their titles; a check
# of the translations sets LANGUAGE itself.
export LANGUAGE=en
unset LC_ALL || true
# Libraries under the desktop (GTK, fontconfig, Mesa) keep allocations to the end.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

# Whether PID is a process this check started: a number kept after its process ended may
# meanwhile belong to another check's program.
our_child() { [ "$(ps -o ppid= -p "$1" 2>/dev/null | tr -d ' ')" = "$$" ]; }

cleanup() {
  if [ -n "$APP_PID" ] && our_child "$APP_PID"; then kill -KILL "$APP_PID" 2>/dev/null || true; fi
  if [ -n "$XVFB_PID" ] && our_child "$XVFB_PID"; then kill "$XVFB_PID" 2>/dev/null || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  # What the X server holds, for a failure that depends on the windows.
  [ -n "${DISPLAY:-}" ] && xwininfo -root -tree 2>/dev/null | sed 's/^/  x: /' >&2
  [ -f "$WORK/app.log" ] && sed 's/^/  app: /' "$WORK/app.log" >&2
  # Where each of the program's threads stands, for a program that hangs (gdb's own words
  # when it finds no stack); how it ended, for one that is gone.
  if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then
    echo "  the program (pid $APP_PID) still runs: $(ps -o stat=,etime=,time= -p "$APP_PID")" >&2
    if command -v gdb >/dev/null; then
      local stacks
      stacks=$(timeout 60 gdb -p "$APP_PID" -batch -ex 'thread apply all bt 30' 2>&1 || true)
      { grep -E '^(Thread|#)' <<<"$stacks" || head -n 20 <<<"$stacks"; } | sed 's/^/  stack: /' >&2
    fi
  elif [ -n "$APP_PID" ]; then
    local status=0
    wait "$APP_PID" 2>/dev/null || status=$?
    echo "  the program (pid $APP_PID) had ended with status $status" >&2
  fi
  exit 1
}

# wait_until SECONDS COMMAND...
source "$(dirname "${BASH_SOURCE[0]}")/../support/wait.sh"

# Without -noreset the server resets when its last client leaves (xdpyinfo below, or any
# helper that looks at the screen), and a program that connects during the reset is turned away.
start_x() {
  local fdfile="$WORK/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" \
    >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  wait_until 20 test -s "$fdfile" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$fdfile")"
  wait_until 20 xdpyinfo || fail "X server $DISPLAY does not answer"
}

# Starts the program on a scratch copy of the demo project (quitting writes the project
# back, and that must never touch the checkout).
start_app() {
  cp -r "$DEMO" "$WORK/demo"
  local project
  project=$(ls "$WORK"/demo/*.xml | grep -vi 'users' | head -n1)
  "$CORVANE" "$project" "$@" >"$WORK/app.log" 2>&1 &
  APP_PID=$!
}

# The main window: searched by process id, since xdotool cannot match names once GTK has
# switched the process to a UTF-8 locale, then picked by its title among the process's
# windows (GTK has a hidden one of its own).
main_window() {
  local w
  for w in $(xdotool search --pid "$APP_PID" 2>/dev/null); do
    if [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "Corvane V0.01" ]; then
      echo "$w"
      return 0
    fi
  done
  return 1
}

wait_for_window() {
  # The sanitizer build starts GTK and SDL slowly on a busy machine.
  wait_until 60 main_window || fail "no window titled \"Corvane V0.01\""
  WIN=$(main_window)
}

client_size() {  # prints WIDTHxHEIGHT of the window
  xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

window_has_size() { [ "$(client_size "$1")" = "$2" ]; }

# wait_for_exit SECONDS: waits for the program and sets EXIT_CODE.
wait_for_exit() {
  wait_until "$1" bash -c "! kill -0 $APP_PID" || fail "the program did not end"
  set +e
  wait "$APP_PID"
  EXIT_CODE=$?
  set -e
  APP_PID=""
}

# Colour of one client pixel of the main window as #RRGGBB; lit: not black.
pixel() { import -window "$WIN" -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n1; }
lit() { [ "$(pixel "$1" "$2")" != "#000000" ]; }
tap() { xdotool mousemove --window "$WIN" "$1" "$2" click 1; }
is() { [ "$(pixel "$1" "$2")" = "$3" ]; }
isnt() { [ "$(pixel "$1" "$2")" != "$3" ]; }
# near X Y #RRGGBB: within 24 per channel (video frames pass through YUV and scaling).
near() {
  local p
  p=$(pixel "$1" "$2")
  [ -n "$p" ] || return 1
  local a=$((16#${p:1:2})) b=$((16#${p:3:2})) c=$((16#${p:5:2}))
  local x=$((16#${3:1:2})) y=$((16#${3:3:2})) z=$((16#${3:5:2}))
  (( (a - x) ** 2 < 576 && (b - y) ** 2 < 576 && (c - z) ** 2 < 576 ))
}

# Space holds the playing media and lets it go on. A demo video lasts three seconds, less than
# a few looks at the screen take on a loaded machine: a check holds it, looks, then lets it go.
space() { xdotool key --window "$WIN" space; }

# area_sum X Y W H: a checksum of that area of the main window, to tell when it changes.
area_sum() { import -window "$WIN" -crop "${3}x${4}+$1+$2" -depth 8 rgb:- 2>/dev/null | md5sum; }
area_changed() { [ "$(area_sum "$2" "$3" "$4" "$5")" != "$1" ]; }
# tap_and_see X Y AX AY AW AH: taps (X, Y), then waits until the area (AX, AY) W x H shows it.
tap_and_see() {
  local before
  before=$(area_sum "$3" "$4" "$5" "$6")
  tap "$1" "$2"
  wait_until 10 area_changed "$before" "$3" "$4" "$5" "$6" ||
    fail "the tap at ($1, $2) changed nothing at ($3, $4) $5 x $6"
}
# name_key ROW COLUMN: a key of the new-user screen's keyboard, once the name shows it. The
# name entry (240 x 185) is centred at (280, 208): its keys are 22 x 29 pixels from (10, 61),
# the name box lies across (65, 38) to (244, 48).
name_key() {
  tap_and_see $(( 280 + 10 + $2 * 22 + 11 )) $(( 208 + 61 + $1 * 29 + 14 )) 345 244 175 14
}

# big_demo W H: a copy of the demo whose map is enlarged smoothly to W x H pixels (the inside
# of an area keeps its exact colour), made in the scratch folder; DEMO then names it.
big_demo() {
  cp -r "$DEMO" "$WORK/big"
  convert "$DEMO/map.png" -filter Triangle -resize "$1x$2!" "$WORK/big/map.png"
  DEMO="$WORK/big"
}

screenshot() {
  mkdir -p "$SHOTS"
  import -window root "$SHOTS/$1.png"
}

# start_app_with_user NAME [OPTION...]: starts X (unless started) and the program (given the options) on a
# scratch copy of the demo whose users file holds one user, so the start ends on the user
# list. Sets PROJECT and USERS (the two files, dated in the past so a later write shows) and
# WIN.
start_app_with_user() {
  rm -rf "$WORK/demo"
  cp -r "$DEMO" "$WORK/demo"
  PROJECT=$(ls "$WORK"/demo/*.xml | grep -vi 'users' | head -n1)
  USERS="${PROJECT%.xml}Users.xml"
  printf '%s\n' "<?xml version='1.0' encoding='UTF-8' ?>" '<user_list>' '<user_context>' \
    "	<user_id>0</user_id>" "	<username>$1</username>" "	<duration>0.00</duration>" \
    '</user_context>' '</user_list>' >"$USERS"
  touch -d '2000-01-01' "$PROJECT" "$USERS"
  [ -n "$XVFB_PID" ] || start_x   # a check that starts the program again keeps its X server
  "$CORVANE" "$PROJECT" "${@:2}" >"$WORK/app.log" 2>&1 &
  APP_PID=$!
  wait_for_window
}

# Starts the program without a project: it asks for one in the file dialog.
start_app_asking() {
  cp -r "$DEMO" "$WORK/demo"
  (cd "$WORK" && exec "$CORVANE") >"$WORK/app.log" 2>&1 &
  APP_PID=$!
}

# window_named TITLE: the first window of the program with that title.
window_named() {
  local w
  for w in $(xdotool search --pid "$APP_PID" 2>/dev/null); do
    if [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$1" ] &&
       xwininfo -id "$w" 2>/dev/null | grep -q IsViewable; then
      echo "$w"
      return 0
    fi
  done
  return 1
}

# give_focus WINDOW: gives the window the keyboard and waits until the X server says it has
# it, so that the keys sent next reach it and not the window that had it before.
has_focus() {
  timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null
  [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$1" ]
}
give_focus() { wait_until 10 has_focus "$1" || fail "window $1 never got the keyboard"; }

# answer_box TITLE KEY: waits for the program's message box of that title, gives it the
# keyboard and presses KEY (Return: the default button; Escape: the answer that changes
# nothing; alt+d: "Don't save").
answer_box() {
  wait_until 30 window_named "$1" || fail "no box titled \"$1\""
  local box
  box=$(window_named "$1")
  give_focus "$box"
  xdotool key "$2"
}

no_window() { ! window_named "$1"; }

# close_and_save: the close button, then Save in the "Save before closing?" box.
close_and_save() {
  "${X11_CLOSE:?close tool}" "$WIN"
  answer_box "Close Corvane" Return
}
