#!/usr/bin/env bash
# The demo's sound item: tapped, it shows its thumbnail scaled up over the dimmed map with the
# progress bar filling along the bottom and its transcript above the bar; a tap brings the map
# back.
source "$(dirname "$0")/lib.sh"

start_app_with_user Tester

wait_until 30 lit 400 150 || fail "no user list after the start-up sequence"
tap 330 442                      # confirm: the map view with Tester as the current user
wait_until 10 lit 10 590 || fail "no map view after confirming the user"

# The Fish quay region lies at (300, 236); its second item, the sound file, at (320, 264).
before=$(pixel 300 236)
tap 300 236                      # the user walks onto the region
user_moved() { [ "$(pixel 300 236)" != "$before" ]; }
wait_until 10 user_moved || fail "the user's icon did not move to the tapped point"
map_pixel=$(pixel 227 142)

tap 320 264                      # the sound item
# Its 32 x 24 thumbnail fills the 480 x 360 box from (160, 75): a point of its flat ground.
thumbnail() { [ "$(pixel 227 142)" = "#31673F" ]; }
wait_until 20 thumbnail || fail "no thumbnail while the sound plays ($(pixel 227 142))"
# The track's played part, light, grows from the left along the bottom rows.
bar_moves() { [ "$(pixel 60 596)" = "#F0F0F0" ]; }
wait_until 20 bar_moves || fail "the progress bar does not fill ($(pixel 60 596))"
# Its transcript beside it (item04.srt) is written above the bar: white text on a shade.
caption() { [ "$(import -window "$WIN" -crop 800x40+0+540 txt:- 2>/dev/null | grep -c '#FFFFFF')" -gt 40 ]; }
wait_until 20 caption || fail "no transcript above the bar"
import -window "$WIN" "$WORK/playing.png" 2>/dev/null &&
  { [ "$SHOTS" = "$WORK" ] || { mkdir -p "$SHOTS" && cp "$WORK/playing.png" "$SHOTS/audio-playing.png"; }; }

tap 600 500                      # a tap ends it
map_back() { [ "$(pixel 227 142)" = "$map_pixel" ] && [ "$(pixel 60 596)" != "#F0F0F0" ]; }
wait_until 10 map_back || fail "the map did not come back after the tap"

tap 780 15                       # the exit button
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after the exit button"
echo "audio: ok"
