#!/usr/bin/env bash
# A visitor whose system speaks German: the user screens offer the tour's languages with
# German chosen, and the demo's item 1 plays its German video. Switched to French in the
# menu, it plays the French one; the choice is kept in the users file.
source "$(dirname "$0")/lib.sh"
export LANGUAGE=de

start_app_with_user Tester
users=$USERS

# The buttons (Original, Deutsch, Français; 64 pixels and 4 apart) sit centred over the user
# list (240 x 320 at (280, 140)), from y 114; the chosen one is blue.
wait_until 30 lit 400 150 || fail "no user list after the start-up sequence"
wait_until 10 is 372 116 '#2060C0' || fail "Deutsch is not the chosen language: $(pixel 372 116)"
is 304 116 '#303030' || fail "Original stands out as well: $(pixel 304 116)"
screenshot languages-user-list

tap 330 442                      # confirm: the map view
wait_until 10 lit 10 590 || fail "no map view after confirming the user"
tap 372 318                      # onto the swing bridge
before=$(pixel 352 346)
tap 352 346                      # item 1
space                            # held while the test looks
# The German video's card is dark red, the French one's dark blue, the tour's own teal.
wait_until 20 near 60 60 '#8A1D1D' || fail "item 1 does not play its German video: $(pixel 60 60)"
screenshot languages-german-video
space; tap 600 500               # ends it
wait_until 10 is 352 346 "$before" || fail "the map did not come back after the video"

xdotool key --window "$WIN" Escape   # the menu, with the languages under it
wait_until 10 is 72 84 '#2060C0' || fail "no language buttons under the menu: $(pixel 72 84)"
tap 170 92                       # Français: the program's own words turn French too, and the
# wider "Version originale" moves the buttons along, so Deutsch is no longer lit where it was
wait_until 10 isnt 72 84 '#2060C0' || fail "Deutsch is still chosen: $(pixel 72 84)"
screenshot languages-menu
xdotool key --window "$WIN" Escape
tap 352 346
space
wait_until 20 near 60 60 '#1D2A8A' || fail "item 1 does not play its French video: $(pixel 60 60)"
space; tap 600 500
wait_until 10 is 352 346 "$before" || fail "the map did not come back after the French video"

tap 780 15                       # the exit button
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after the exit button"
grep -q '<language>fr</language>' "$users" || fail "the visitor's language is not kept: $(cat "$users")"
echo "languages: ok"
