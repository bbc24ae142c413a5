#!/usr/bin/env bash
# A project without a users file starts on the new-user screen: type a name on the on-screen
# keyboard, confirm it, pick it on the selection screen, open Set Relationships from the
# menu; toggle a box and leave with the close box (nothing changes), open it again, toggle
# Times with the keyboard and OK; quit with the exit button and find the name in the users
# file and the switches in the project file.
source "$(dirname "$0")/lib.sh"
X11_CLOSE=${3:?close tool}

cp -r "$DEMO" "$WORK/demo"
project=$(ls "$WORK"/demo/*.xml | grep -vi 'users' | head -n1)
users="${project%.xml}Users.xml"
rm -f "$users"
grep -q '<time_rels>0</time_rels>' "$project" || fail "the demo project should start with times off"
grep -q '<location_rels>0</location_rels>' "$project" || fail "the demo project should start with locations off"

start_x
"$CORVANE" "$project" >"$WORK/app.log" 2>&1 &
APP_PID=$!
wait_for_window

dark() { [ "$(pixel "$1" "$2")" = "#000000" ]; }

# The user list (240 x 320) is centred at (280, 140).
key() { name_key "$@"; }
wait_until 30 lit 400 300 || fail "no new-user screen after the start-up sequence"
dark 400 150 || fail "the new-user screen is not the 185-pixel name entry"
key 1 0   # A
key 2 5   # N
key 2 5   # N
key 0 2   # E
key 2 9   # delete
screenshot new-user-name
tap 330 375                      # confirm: back to the user list
wait_until 10 lit 400 150 || fail "no user list after confirming the name"
tap 380 175                      # row 0: the new user
screenshot user-list
tap 330 442                      # confirm: the map view
wait_until 10 lit 10 590 || fail "no map view after confirming the user"

dialog_window() {
  local w
  for w in $(xdotool search --pid "$APP_PID" 2>/dev/null); do
    if [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "Set Relationships" ] &&
       xwininfo -id "$w" 2>/dev/null | grep -q 'IsViewable'; then
      echo "$w"
      return 0
    fi
  done
  return 1
}
no_dialog() { ! dialog_window; }
open_dialog() {
  tap 74 15                            # menu button (2, 0): Set Relationships
  wait_until 20 dialog_window || fail "no \"Set Relationships\" dialog"
  DLG=$(dialog_window)
  give_focus "$DLG"
}
# Tab order follows the boxes' places from the focused OK button: Cancel, Location, Themes,
# Characters, Times.
tabs() { for (( i = 0; i < $1; i++ )); do xdotool key Tab; done; }

map=$(pixel 50 50)
xdotool key --window "$WIN" Escape   # the menu panel; it stays open after the dialog
wait_until 10 isnt 50 50 "$map" || fail "Escape did not open the menu"
open_dialog
tabs 2
xdotool key space                    # Location on, then the close box
screenshot relationships-location
"$X11_CLOSE" "$DLG"
wait_until 10 no_dialog || fail "the close box left the dialog open"

open_dialog
tabs 5
xdotool key space                    # Times on
screenshot relationships-times
xdotool key Return                   # OK, the default button
wait_until 10 no_dialog || fail "OK left the dialog open"

tap 780 15                           # the exit button saves and quits
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after the exit button"

grep -q '<username>ANN</username>' "$users" || fail "users file without the new user: $(cat "$users")"
grep -q '<user_id>0</user_id>' "$users" || fail "the first user should get id 0"
grep -q '<time_rels>1</time_rels>' "$project" || fail "times switch not saved"
grep -q '<location_rels>0</location_rels>' "$project" || fail "the close box changed the location switch"
grep -q '<theme_rels>1</theme_rels>' "$project" || fail "themes switch lost"
grep -q '<character_rels>1</character_rels>' "$project" || fail "characters switch lost"
echo "new user and relationships: ok"
