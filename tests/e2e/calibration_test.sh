#!/usr/bin/env bash
# Calibrate the demo map with two points of known position: a first try whose GPS dialog is
# closed by the window manager changes nothing; then two taps, two typed positions, the new
# edges confirmed, and quit. The saved edges are the expected ones at the written precision,
# and the regions and content are the demo's byte for byte.
source "$(dirname "$0")/lib.sh"
X11_CLOSE=${3:?close tool}

start_app_with_user Tester
original="$WORK/original.xml"
cp "$PROJECT" "$original"
wait_until 30 lit 400 150 || fail "no user list after the start-up sequence"
tap 330 442                            # confirm: the map view
wait_until 10 lit 10 590 || fail "no map view after confirming the user"

# Focus first: after a GTK dialog the keyboard may still be elsewhere.
menu_open() { [ "$(pixel 104 15)" != "$1" ]; }
open_calibration() {
  local before
  before=$(pixel 104 15)
  give_focus "$WIN"
  xdotool key --window "$WIN" Escape   # the menu panel
  wait_until 10 menu_open "$before" || fail "Escape did not open the menu"
  tap 104 15                           # its button (3, 0): calibrate; the panel closes
}
gps_dialog() { window_named "$1"; }
no_window() { ! window_named "$1"; }
# give_position TITLE LATITUDE LONGITUDE: types into the dialog's two fields and presses OK.
give_position() {
  wait_until 20 gps_dialog "$1" || fail "no \"$1\" dialog"
  local dlg
  dlg=$(gps_dialog "$1")
  give_focus "$dlg"
  xdotool key ctrl+a
  xdotool type --delay 20 -- "$2"
  xdotool key Tab ctrl+a
  xdotool type --delay 20 -- "$3"
  [ -n "${4:-}" ] && screenshot "$4"
  xdotool key Return
  wait_until 10 no_window "$1" || fail "OK left \"$1\" open"
}

# A dialog closed by the window manager ends the calibration.
open_calibration
tap 100 150
wait_until 20 gps_dialog "Calibration: first point" || fail "no GPS dialog after the first tap"
"$X11_CLOSE" "$(gps_dialog "Calibration: first point")"
wait_until 10 no_window "Calibration: first point" || fail "the close box left the dialog open"

# The map is 800 x 600 pixels; the new edges are -0.6300, 54.4920, -0.6100, 54.4850, so map
# pixel (100, 150) lies at 54.490250 N, -0.627500 E and (700, 450) at 54.486750 N, -0.612500 E.
open_calibration
screenshot calibration-first-tap
tap 100 150
give_position "Calibration: first point" 54.49025 -0.6275 calibration-dialog
screenshot calibration-second-tap
tap 700 450
give_position "Calibration: second point" 54.48675 -0.6125
wait_until 20 window_named Calibration || fail "no confirmation of the new edges"
screenshot calibration-confirm
confirm=$(window_named Calibration)
give_focus "$confirm"
xdotool key alt+o                      # OK
wait_until 10 no_window Calibration || fail "the confirmation stayed"

tap 780 15                             # the exit button saves and quits
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after the exit button"

edges=$(grep -E '<(left|top|right|bottom)>' "$PROJECT" | tr -d '\t\n')
[ "$edges" = "<left>-0.630000</left><top>54.492000</top><right>-0.610000</right><bottom>54.485000</bottom>" ] ||
  fail "saved edges: $edges"
records() { sed -n '/<region_list>/,/<\/content_list>/p' "$1"; }
[ -n "$(records "$original")" ] || fail "no regions or content in the demo"
diff <(records "$original") <(records "$PROJECT") >&2 || fail "regions or content changed"
echo "calibration: ok"
