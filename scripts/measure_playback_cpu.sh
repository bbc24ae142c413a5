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
work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-play.XXXXXX")
xvfb=""; app=""; player=""
cleanup() {
  [ -n "$player" ] && kill "$player" 2>/dev/null
  [ -n "$app" ] && kill "$app" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

if ! command -v mpv >/dev/null; then
  as_root=""; [ "$(id -u)" -eq 0 ] || as_root=sudo
  $as_root apt-get install -y --no-install-recommends mpv >/dev/null
fi

wait_until() {  # SECONDS COMMAND...
  local i
  for (( i = 0; i < $1 * 10; i++ )); do "${@:2}" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_mb() { awk '/^VmRSS:/ {printf "%.0f", $2 / 1024}' "/proc/$1/status"; }

# Long enough to outlast the measurement; no sound track, so neither side spends time on audio.
clip_seconds=$((seconds + 30))
cp -r "$root/demo" "$work/demo"
ffmpeg -loglevel error -nostdin -y -f lavfi -i "testsrc=size=640x480:rate=30" \
  -t "$clip_seconds" -c:v libx264 -preset veryfast -pix_fmt yuv420p "$work/demo/video/item01.mp4"
cat >"$work/demo/HarbourUsers.xml" <<'USERS'
<?xml version='1.0' encoding='UTF-8' ?>
<user_list>
<user_context>
	<user_id>0</user_id>
	<username>PLAY</username>
	<duration>0.00</duration>
</user_context>
</user_list>
USERS

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
wait_until 20 test -s "$work/display"
export DISPLAY=":$(head -n1 "$work/display")" GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
"$bin" "$work/demo/Harbour.xml" >"$work/app.log" 2>&1 &
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
tap() { xdotool mousemove --window "$win" "$1" "$2" click 1; }
wait_until 30 lit 400 150            # the user list
tap 330 442                           # SELECT the first user
wait_until 10 sea                     # the map view
map_rss=$(rss_mb "$app")
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
  --really-quiet "$work/demo/video/item01.mp4" >"$work/mpv.log" 2>&1 &
player=$!
sleep 3                               # both past their start

hz=$(getconf CLK_TCK)
a0=$(ticks "$app"); m0=$(ticks "$player"); x0=$(ticks "$xvfb"); t0=$(date +%s.%N)
sleep "$seconds"
a1=$(ticks "$app"); m1=$(ticks "$player"); x1=$(ticks "$xvfb"); t1=$(date +%s.%N)
app_rss=$(rss_mb "$app"); mpv_rss=$(rss_mb "$player")
playing || echo "warning: the program's playback ended before the window closed" >&2
awk -v a=$((a1 - a0)) -v m=$((m1 - m0)) -v x=$((x1 - x0)) -v hz="$hz" -v t0="$t0" -v t1="$t1" \
  -v ar="$app_rss" -v mr="$mpv_rss" -v map="$map_rss" 'BEGIN {
  t = t1 - t0
  pa = 100 * a / hz / t; pm = 100 * m / hz / t
  printf "640x480 30 fps H.264 over %.1f s, CPU in %% of one core:\n", t
  printf "  program %.1f %%, mpv --vo=x11 %.1f %%, ratio %.2f; X server %.1f %%\n",
         pa, pm, (pm > 0 ? pa / pm : 0), 100 * x / hz / t
  printf "  RSS: program %s MB playing (%s MB on the map view), mpv %s MB\n", ar, map, mr }'
