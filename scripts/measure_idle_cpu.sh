#!/usr/bin/env bash
# CPU use of the idle map view: the program on a copy of the demo project in a private X
# server, one user chosen, the map view shown and nothing touched, measured from
# /proc/<pid>/stat (user + system time) over a window of SECONDS (default 30). The X server's
# own time is reported beside it, since every uploaded frame costs it work too.
# With --gpsd the program follows gpsd instead: gpsfake plays the demo walk's NMEA log to a
# private gpsd on a free local port, one fix a second as a receiver gives them, and the
# program is started with --gps on that port.
# With --kiosk the program runs as a kiosk (full screen) and is measured on the user list,
# where a kiosk waits between visitors.
# With --zoomed the demo's map is enlarged to 4000 x 3000 pixels, the view zoomed in with
# the + key (about 5.7 times) and centred on the user, who follows a replayed walk that
# stands still (one fix a second at one place).
#   scripts/measure_idle_cpu.sh CORVANE_BINARY [SECONDS] [--gpsd | --kiosk | --zoomed]
set -euo pipefail
bin=$(readlink -f "${1:?program}")
seconds=${2:-30}
gpsd_mode=false
kiosk_mode=false
zoomed_mode=false
[ "${3:-}" = "--gpsd" ] && gpsd_mode=true
[ "${3:-}" = "--kiosk" ] && kiosk_mode=true
[ "${3:-}" = "--zoomed" ] && zoomed_mode=true
root=$(cd "$(dirname "$0")/.." && pwd)
# The end-to-end helpers: a private X server, the program on a scratch copy of the demo.
set -- "$bin" "$root/demo"
# shellcheck source=../tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"
fake=""
stop_all() {
  if [ -n "$fake" ]; then  # gpsfake's daemon is its child; both go, the daemon first
    local daemon
    daemon=$(pgrep -P "$fake" -x gpsd || true)
    [ -z "$daemon" ] || kill -9 $daemon 2>/dev/null
    kill "$fake" 2>/dev/null
  fi
  cleanup
}
trap stop_all EXIT
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
sea() { [ "$(pixel 50 50)" = "#7FB3D5" ]; }

options=()
if $gpsd_mode; then
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  gpsfake -q -c 0.5 -P "$port" "$root/tests/fixtures/position/demo_walk.nmea" >"$WORK/gpsfake.log" 2>&1 &
  fake=$!
  wait_until 20 python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)"
  options=(--gps="127.0.0.1:$port")
fi
if $zoomed_mode; then
  big_demo 4000 3000
  {
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo '<gpx version="1.1" creator="Corvane idle check"><trk><trkseg>'
    for i in $(seq 0 3599); do
      printf '<trkpt lat="54.4870010" lon="-0.6162000"><time>2024-05-18T%02d:%02d:%02dZ</time></trkpt>\n' \
        $((10 + i / 3600)) $((i / 60 % 60)) $((i % 60))
    done
    echo '</trkseg></trk></gpx>'
  } >"$WORK/still.gpx"
  options=(--replay="$WORK/still.gpx")
fi
if $kiosk_mode; then
  start_app_with_user IDLE --kiosk --idle=600
  # Full screen on the 1024 x 768 server: the list's backdrop lit, the corner black.
  wait_until 30 is 64 64 "#000000"
  wait_until 30 lit 512 192
else
  start_app_with_user IDLE "${options[@]}"
  wait_until 30 lit 400 150            # the user list
  tap 330 442                           # SELECT the first user
  wait_until 10 sea                     # the map view
  if $zoomed_mode; then
    for _ in 1 2 3 4 5; do xdotool key --window "$WIN" plus; done
    tap 770 352                         # centre on me: the view follows the user again
  fi
  xdotool mousemove --window "$WIN" 799 599         # the pointer out of the way
fi
sleep 2                               # let the first frames after the switch pass

hz=$(getconf CLK_TCK)
a0=$(ticks "$APP_PID"); x0=$(ticks "$XVFB_PID"); t0=$(date +%s.%N)
sleep "$seconds"
a1=$(ticks "$APP_PID"); x1=$(ticks "$XVFB_PID"); t1=$(date +%s.%N)
mode=" map view"
$gpsd_mode && mode=" map view following gpsd"
$kiosk_mode && mode=" kiosk on the user list"
$zoomed_mode && mode=" map view zoomed in, following a still fix"
LC_ALL=C awk -v a=$((a1 - a0)) -v x=$((x1 - x0)) -v hz="$hz" -v t0="$t0" -v t1="$t1" -v mode="$mode" 'BEGIN {
  t = t1 - t0
  printf "idle%s over %.1f s: program %.2f %% of one core, X server %.2f %%\n", mode,
         t, 100 * a / hz / t, 100 * x / hz / t }'
