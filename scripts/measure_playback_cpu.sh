#!/usr/bin/env bash
# CPU time and memory of playing a video: the program plays a 640 x 480, 30 fps H.264 file
# (made here with ffmpeg) from a copy of the demo project, and the stand-alone mpv player
# (`mpv --vo=x11`, installed from Debian only when missing) plays the same file at the same
# time in the same private X server, so both meet the same machine load. User plus system
# time of each process from /proc/<pid>/stat over a window of SECONDS (default 20); resident
# memory (VmRSS) of both at the end of the window, and the program's on the map view before
# the tap. The X server's time is reported too: it does work for both.
#   scripts/measure_playback_cpu.sh CORVANE_BINARY [SECONDS]
set -euo pipefail
bin=$(readlink -f "${1:?program}")
seconds=${2:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
# The end-to-end helpers: a private X server, the program on a scratch copy of the demo.
set -- "$bin" "$root/demo"
# shellcheck source=../tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"
player=""
stop_all() {
  [ -n "$player" ] && kill "$player" 2>/dev/null
  cleanup
}
trap stop_all EXIT

if ! command -v mpv >/dev/null; then
  as_root=""; [ "$(id -u)" -eq 0 ] || as_root=sudo
  $as_root apt-get install -y --no-install-recommends mpv >/dev/null
fi

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_mb() { awk '/^VmRSS:/ {printf "%.0f", $2 / 1024}' "/proc/$1/status"; }
sea() { [ "$(pixel 50 50)" = "#7FB3D5" ]; }

# Long enough to outlast the measurement; no sound track, so neither side spends time on audio.
clip_seconds=$((seconds + 30))
ffmpeg -loglevel error -nostdin -y -f lavfi -i "testsrc=size=640x480:rate=30" \
  -t "$clip_seconds" -c:v libx264 -preset veryfast -pix_fmt yuv420p "$WORK/clip.mp4"
start_app_with_user PLAY
cp "$WORK/clip.mp4" "$WORK/demo/video/item01.mp4"  # opened only when it is tapped
wait_until 30 lit 400 150            # the user list
tap 330 442                           # SELECT the first user
wait_until 10 sea                     # the map view
map_rss=$(rss_mb "$APP_PID")
before=$(pixel 372 318)
tap 372 318                           # walk onto the Swing bridge region
moved() { [ "$(pixel 372 318)" != "$before" ]; }
wait_until 10 moved
tap 352 346                           # its first item: the clip plays
playing() { ! sea; }
wait_until 20 playing

# The player in a window of the program's size, so both show the same picture at the same
# scale; it loops, so it plays for as long as the measurement lasts.
mpv --vo=x11 --no-config --ao=null --geometry=800x600 --no-border --loop-file=inf \
  --really-quiet "$WORK/demo/video/item01.mp4" >"$WORK/mpv.log" 2>&1 &
player=$!
sleep 3                               # both past their start

hz=$(getconf CLK_TCK)
a0=$(ticks "$APP_PID"); m0=$(ticks "$player"); x0=$(ticks "$XVFB_PID"); t0=$(date +%s.%N)
sleep "$seconds"
a1=$(ticks "$APP_PID"); m1=$(ticks "$player"); x1=$(ticks "$XVFB_PID"); t1=$(date +%s.%N)
app_rss=$(rss_mb "$APP_PID"); mpv_rss=$(rss_mb "$player")
playing || echo "warning: the program's playback ended before the window closed" >&2
LC_ALL=C awk -v a=$((a1 - a0)) -v m=$((m1 - m0)) -v x=$((x1 - x0)) -v hz="$hz" -v t0="$t0" -v t1="$t1" \
  -v ar="$app_rss" -v mr="$mpv_rss" -v map="$map_rss" 'BEGIN {
  t = t1 - t0
  pa = 100 * a / hz / t; pm = 100 * m / hz / t
  printf "640x480 30 fps H.264 over %.1f s, CPU in %% of one core:\n", t
  printf "  program %.1f %%, mpv --vo=x11 %.1f %%, ratio %.2f; X server %.1f %%\n",
         pa, pm, (pm > 0 ? pa / pm : 0), 100 * x / hz / t
  printf "  RSS: program %s MB playing (%s MB on the map view), mpv %s MB\n", ar, map, mr }'
