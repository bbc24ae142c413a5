#!/usr/bin/env bash
# End to end under Xvfb: open the menu with Escape, arm show-coordinates, tap the map, find
# the "Position info" box on screen and dismiss it, then leave with the exit button and find
# the project file and the users file written.
# Usage: tests/e2e/input_tour.sh [path/to/corvane] [screenshot folder]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
program=${1:-$root/build/corvane}
shots=${2:-}
[ -x "$program" ] || { echo "no program at $program" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A copy of the demo project, with one user so that the start ends on the user list.
cp -r "$root/demo/." "$work/"
cat > "$work/HarbourUsers.xml" <<'USERS'
<?xml version='1.0' encoding='UTF-8' ?>
<user_list>
<user_context>
	<user_id>0</user_id>
	<username>Tester</username>
	<duration>0.00</duration>
</user_context>
</user_list>
USERS
touch -d '2000-01-01' "$work/Harbour.xml" "$work/HarbourUsers.xml"

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$program" "$work/Harbour.xml" &
app_pid=$!

# Top-level window with this exact title, found through the window tree (the toolkit sets
# only the UTF-8 name, which a plain name search can miss).
find_window() {
  xwininfo -root -tree 2>/dev/null | awk -v t="\"$1\":" '$2 " " $3 == t || $2 == t {print $1; exit}'
}
wait_window() {
  for _ in $(seq "$2"); do
    w=$(find_window "$1")
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}

window=$(wait_window "Corvane V0.01" 200) || { echo "FAIL: no main window" >&2; exit 1; }

# The user list appears once the startup sequence (about three seconds) has run.
sleep 5

tap() {  # x y in client pixels of the 800x600 window
  xdotool mousemove --window "$window" "$1" "$2" click 1
  sleep 0.4
}
key() {
  xdotool key --window "$window" "$1"
  sleep 0.4
}
shot() {
  [ -n "$shots" ] && mkdir -p "$shots" && import -window root "$shots/$1.png"
  return 0
}

shot user-list
tap 330 442        # confirm on the user list (centred 240x320 screen): the map view
key Escape         # the menu panel
tap 134 15         # menu button (4, 0): show coordinates
shot menu-armed
tap 300 300        # below the panel: the map

box=$(wait_window "Position info" 100) || box=""
shot position-info
[ -n "$box" ] || { echo "FAIL: no \"Position info\" box" >&2; exit 1; }
xdotool windowactivate --sync "$box" 2>/dev/null || true
xdotool key --window "$box" Return
sleep 0.5
if [ -n "$(find_window "Position info")" ]; then
  echo "FAIL: the box did not go away" >&2
  exit 1
fi

tap 780 15         # the exit button, the menu still open
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then
  echo "FAIL: still running after the exit button" >&2
  exit 1
fi
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || { echo "FAIL: exit code $status" >&2; exit 1; }

[ "$work/Harbour.xml" -nt "$work/map.png" ] || { echo "FAIL: project file not written" >&2; exit 1; }
grep -q '<media_portrait>' "$work/Harbour.xml" || { echo "FAIL: project file damaged" >&2; exit 1; }
grep -q '<username>Tester</username>' "$work/HarbourUsers.xml" ||
  { echo "FAIL: users file lost its user" >&2; exit 1; }
# The visit's running time reaches the users file only through the save on quitting.
if grep -q '<duration>0.00</duration>' "$work/HarbourUsers.xml"; then
  echo "FAIL: users file not written on quitting" >&2
  exit 1
fi
echo "PASS: Position info shown and dismissed; project and users file written"
