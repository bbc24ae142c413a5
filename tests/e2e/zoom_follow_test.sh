#!/usr/bin/env bash
# The view that follows the walker on a large map: the demo's walk replayed over its map
# enlarged to 4000 x 3000 pixels and zoomed in with the keys, which pauses following; then
# "centre on me" brings the walker back to the middle and the view goes along with the walk,
# so the map under both sides of the screen moves.
source "$(dirname "$0")/lib.sh"

SEA=#7FB3D5   # the map at (50, 50) while the whole map shows
big_demo 4000 3000

start_app_with_user WALKER --replay="$DEMO/walk.gpx" --speed=20
wait_until 30 lit 400 150 || fail "no user list after the start-up sequence"
tap 380 175                        # row 0: WALKER
tap 330 442                        # SELECT: the map view and the walk's start
wait_until 10 is 50 50 "$SEA" || fail "no map view after choosing the user"
whole=$(area_sum 0 40 700 180)
for _ in 1 2 3 4 5; do xdotool key --window "$WIN" plus; done
wait_until 10 area_changed "$whole" 0 40 700 180 || fail "the + key did not zoom in"
tap 770 352                        # centre on me: the lowest of the zoom buttons
left=$(area_sum 0 100 180 380)     # outside the middle band, where the walker never is
right=$(area_sum 560 100 180 380)
screenshot following-start
wait_until 60 area_changed "$left" 0 100 180 380 || fail "the view did not follow the walk"
wait_until 30 area_changed "$right" 560 100 180 380 || fail "the view did not follow the walk"
screenshot following
tap 784 15                         # exit: save and quit
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after the exit button"
echo "zoom follow: ok"
