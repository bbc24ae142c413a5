#!/usr/bin/env bash
# A recorded walk replayed (--replay of the demo's walk.gpx, sped up): the user follows it to
# its last region, the Abbey ruins (region 7), whose items become available; a tap on item 11
# plays it, and after quitting the users file records the viewing.
#
# Map pixels are window pixels (the demo map is 800 x 600). Item 11's 32 x 24 thumbnail is
# centred at (642, 137), 28 pixels below its region and 20 to the left.
source "$(dirname "$0")/lib.sh"

SEA=#7FB3D5        # the map at (50, 50)
ITEM11=#3B1F4A     # item 11's thumbnail and video colour (make_demo.py)
head -n 4 "$DEMO/walk.gpx" | grep -q '7 Abbey ruins\.' || fail "the walk no longer ends in region 7"

start_app_with_user WALKER --replay="$DEMO/walk.gpx" --speed=30
wait_until 30 lit 400 150 || fail "no user list after the start-up sequence"
tap 380 175                        # row 0: WALKER
tap 330 442                        # SELECT: the map view
wait_until 10 is 50 50 "$SEA" || fail "no map view after choosing the user"
# The walk lasts 12 minutes 19 seconds as recorded: under half a minute at 30 times.
wait_until 90 is 630 129 "$ITEM11" || fail "the walk never reached the Abbey ruins"
screenshot replay-last-region
tap 636 133
space                              # held while the test looks (lib.sh)
wait_until 15 near 50 50 "$ITEM11" || fail "no video after tapping item 11"
space
wait_until 15 is 50 50 "$SEA" || fail "the map did not come back at the end of the video"
tap 784 15                         # exit: save and quit
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after the exit button"
grep -q '<viewed_id>11--' "$USERS" || fail "the users file does not record item 11"
echo "replay walk: ok"
