#!/usr/bin/env bash
# CPU use of the idle map view: the program on a copy of the demo project in a private X
# server, one user chosen, the map view shown and nothing touched, measured from
# /proc/<pid>/stat (user + system time) over a window of SECONDS (default 30). The X server's
# own time is reported beside it, since every uploaded frame costs it work too.
# With --gpsd the program follows gpsd instead: gpsfake plays the demo walk's NMEA log to a
# private gpsd on a free local port, one fix a second as a receiver gives them, and the
# program is started with --gps on that port.
#   scripts/measure_idle_cpu.sh CORVANE_BINARY [SECONDS] [--gpsd]
set -euo pipefail
bin=$(readlink -f "${1:?program}")
seconds=${2:-30}
gpsd_mode=false
[ "${3:-}" = "--gpsd" ] && gpsd_mode=true
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-idle.XXXXXX")
xvfb=""; app=""; fake=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  if [ -n "$fake" ]; then  # gpsfake's daemon is its child; both go, the daemon first
    local daemon
    daemon=$(pgrep -P "$fake" -x gpsd || true)
    [ -z "$daemon" ] || kill -9 $daemon 2>/dev/null
    kill "$fake" 2>/dev/null
  fi
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

wait_until() {  # SECONDS COMMAND...
  local i
  for (( i = 0; i < $1 * 10; i++ )); do "${@:2}" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

cp -r "$root/demo" "$work/demo"
cat >"$work/demo/HarbourUsers.xml" <<'USERS'
<?xml version='1.0' encoding='UTF-8' ?>
<user_list>
<user_context>
	<user_id>0</user_id>
	<username>IDLE</username>
	<duration>0.00</duration>
</user_context>
</user_list>
USERS

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
wait_until 20 test -s "$work/display"
export DISPLAY=":$(head -n1 "$work/display")" GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
options=()
if $gpsd_mode; then
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  gpsfake -q -c 0.5 -P "$port" "$root/tests/fixtures/position/demo_walk.nmea" >"$work/gpsfake.log" 2>&1 &
  fake=$!
  wait_until 20 python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)"
  options=(--gps="127.0.0.1:$port")
fi
"$bin" "${options[@]}" "$work/demo/Harbour.xml" >"$work/app.log" 2>&1 &
app=$!

window() {
  local w
  for w in $(xdotool search --pid "$app" 2>/dev/null); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "Corvane V0.01" ] && { echo "$w"; return 0; }
  done
  return 1
}
wait_until 30 window
win=$(window)
pixel() { import -window "$win" -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n1; }
lit() { [ "$(pixel "$1" "$2")" != "#000000" ]; }
sea() { [ "$(pixel 50 50)" = "#7FB3D5" ]; }
wait_until 30 lit 400 150            # the user list
xdotool mousemove --window "$win" 330 442 click 1   # SELECT the first user
wait_until 10 sea                     # the map view
xdotool mousemove --window "$win" 799 599         # the pointer out of the way
sleep 2                               # let the first frames after the switch pass

hz=$(getconf CLK_TCK)
a0=$(ticks "$app"); x0=$(ticks "$xvfb"); t0=$(date +%s.%N)
sleep "$seconds"
a1=$(ticks "$app"); x1=$(ticks "$xvfb"); t1=$(date +%s.%N)
mode=""
$gpsd_mode && mode=" following gpsd"
awk -v a=$((a1 - a0)) -v x=$((x1 - x0)) -v hz="$hz" -v t0="$t0" -v t1="$t1" -v mode="$mode" 'BEGIN {
  t = t1 - t0
  printf "idle map view%s over %.1f s: program %.2f %% of one core, X server %.2f %%\n", mode,
         t, 100 * a / hz / t, 100 * x / hz / t }'
