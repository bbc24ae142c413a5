#!/usr/bin/env bash
# A large map zoomed and panned as a visitor does: the demo's map enlarged to 4000 x 3000
# pixels, the + and - keys, the wheel about the pointer, a tap on an icon at high zoom that
# plays it, and a drag that pans the map with the finger.
#
# The user starts in the middle of the map, inside the Swing Bridge region (1), so its item 2
# is available: at map pixel (392, 346), which is a window pixel while the whole map shows.
source "$(dirname "$0")/lib.sh"

SEA=#7FB3D5     # the map at (50, 50)
ITEM2=#23576E   # item 2's thumbnail and video colour (make_demo.py)
big_demo 4000 3000

start_app_with_user WALKER
wait_until 30 lit 400 150 || fail "no user list after the start-up sequence"
tap 380 175                        # row 0: WALKER
tap 330 442                        # SELECT: the map view
wait_until 10 is 50 50 "$SEA" || fail "no map view after choosing the user"
near 380 340 "$ITEM2" || fail "item 2 is not where the whole map puts it"
fit=$(area_sum 0 40 700 180)       # above the place's name and the status area

xdotool key --window "$WIN" plus
wait_until 10 area_changed "$fit" 0 40 700 180 || fail "the + key did not zoom in"
xdotool key --window "$WIN" minus
wait_until 10 eval '[ "$(area_sum 0 40 700 180)" = "$fit" ]' ||
  fail "the - key did not give back the whole map as it was"

# Eight notches over item 2: it stays under the pointer while the map grows six times.
xdotool mousemove --window "$WIN" 392 346 click --repeat 8 4
wait_until 10 isnt 50 50 "$SEA" || fail "the wheel did not zoom in"
mkdir -p "$SHOTS"
import -window "$WIN" "$SHOTS/zoomed-in.png"   # the README's picture of a zoomed view
wait_until 10 near 380 340 "$ITEM2" || fail "item 2 left the pointer while zooming"
ZOOMED=$(pixel 50 50)
tap 392 346
space                              # held while the test looks (lib.sh)
wait_until 15 near 50 50 "$ITEM2" || fail "no video after tapping item 2 at high zoom"
space
wait_until 15 is 50 50 "$ZOOMED" || fail "the zoomed map did not come back after the video"

# The map follows the finger: item 2 moves with it.
xdotool mousemove --window "$WIN" 200 300 mousedown 1 mousemove --window "$WIN" 250 330 \
  mousemove --window "$WIN" 300 350 mouseup 1
wait_until 10 near 480 390 "$ITEM2" || fail "a drag did not pan the map with the finger"

tap 784 15                         # exit: save and quit
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after the exit button"
echo "zoom: ok"
