#!/usr/bin/env bash
# Open the menu with Escape, arm show-coordinates, tap the map and find the "Position info"
# box on screen; dismiss it; again near the top edge with the menu closed, then hover (no
# stylus release may be lost behind the box); leave with the exit button (the menu still open) and find the
# project file and the users file written, with the visit's time in the users file.
source "$(dirname "$0")/lib.sh"

start_app_with_user Tester
project=$PROJECT
users=$USERS


# The user list's backdrop is centred; the map fills the whole window.
wait_until 30 lit 400 150 || fail "no user list after the start-up sequence"
screenshot user-list
tap 330 442                      # confirm: the map view with Tester as the current user
wait_until 10 lit 10 590 || fail "no map view after confirming the user"
visit_start=$(date +%s.%N)         # the visit began by now
MAP=$(pixel 50 50)                 # the map where the menu panel would be
MIDDLE=$(pixel 400 160)            # the map where the user list would be

xdotool key --window "$WIN" Escape   # the menu panel
tap 134 15                       # its button (4, 0): show coordinates
tap 300 300                      # below the panel: the map

position_box() {
  local w
  for w in $(xdotool search --pid "$APP_PID" 2>/dev/null); do
    if [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "Position info" ] &&
       xwininfo -id "$w" 2>/dev/null | grep -q 'IsViewable'; then
      echo "$w"
      return 0
    fi
  done
  return 1
}
wait_until 20 position_box || fail "no \"Position info\" box"
screenshot position-info
box=$(position_box)
give_focus "$box"
xdotool key --window "$box" Return
no_position_box() { ! position_box; }
wait_until 10 no_position_box || fail "the \"Position info\" box stayed"

# A coordinates tap near the top with the menu closed: the box takes the release. Afterwards
# the stylus must count as up, so hovering down to the bottom edge and back does not work the
# menu gesture: the users button then still opens the user list (under an open menu it would
# do nothing).
tap 134 15                       # the menu is still open: show coordinates again
tap 224 46                       # its button (7, 1) closes it
wait_until 10 is 50 50 "$MAP" || fail "the menu did not close"
tap 300 10
wait_until 20 position_box || fail "no \"Position info\" box for a tap near the top"
box=$(position_box)
give_focus "$box"
xdotool key --window "$box" Return
wait_until 10 no_position_box || fail "the second \"Position info\" box stayed"
xdotool mousemove --window "$WIN" 300 590 mousemove --window "$WIN" 300 300 \
  mousemove --window "$WIN" 300 10
tap 757 15                       # the users button
wait_until 10 isnt 400 160 "$MIDDLE" || fail "hovering after the box worked the menu gesture"
tap 330 442                      # confirm: back to the map
wait_until 10 is 400 160 "$MIDDLE" || fail "no map view after the user list"

# The visit lasts three seconds at least, however quickly the steps above went.
visit_long_enough() { awk -v a="$visit_start" -v b="$(date +%s.%N)" 'BEGIN { exit !(b - a >= 3) }'; }
wait_until 10 visit_long_enough || fail "the clock did not move"
tap 780 15                       # the exit button
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after the exit button"

[ "$project" -nt "$WORK/demo/map.png" ] || fail "project file not written"
grep -q '</media_portrait>' "$project" || fail "project file incomplete"
grep -q '<username>Tester</username>' "$users" || fail "users file lost its user"
[ "$users" -nt "$WORK/demo/map.png" ] || fail "users file not written on quitting"
# Only the save on quitting commits the running visit into the file; a visit of three seconds
# must show in it.
grep -q '<duration>0.00</duration>' "$users" && fail "the visit's time is missing from the users file"
echo "position info and exit: ok"
