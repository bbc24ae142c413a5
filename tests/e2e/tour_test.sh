#!/usr/bin/env bash
# The whole tour on the demo project, as a visitor makes it: a first start on the new-user
# screen, a name typed on the on-screen keyboard, the user chosen, a tap into the Fish quay
# region, its content played to the end, related content placed beside the user, the page
# view and a replay from it, an icon moved with the edit mode, Times switched on in the
# Set Relationships dialog, and the exit button. Then both written files must be exactly what
# that tour makes (tests/e2e/expected/), with only the clock readings masked.
#
# Screen points below are map pixels: the demo map is 800 x 600, so the whole map shows and
# a map pixel is a window pixel. Items are placed 28 pixels below their region and 40 apart
# (scripts/make_demo.py); icons are the 32 x 24 thumbnails with a 3 x 2 shadow (35 x 26).
# The expected project file is made from demo/Harbour.xml and the tour's edits
# (tests/e2e/expected/Harbour.sed), so it follows the demo when that is made again.
source "$(dirname "$0")/lib.sh"
EXPECTED="$(cd "$(dirname "$0")" && pwd)/expected"

cp -r "$DEMO" "$WORK/demo"
project="$WORK/demo/Harbour.xml"
users="$WORK/demo/HarbourUsers.xml"
[ -f "$project" ] || fail "the demo has no Harbour.xml"
[ ! -e "$users" ] || fail "the demo must ship without a users file"

start_x
"$CORVANE" "$project" >"$WORK/app.log" 2>&1 &
APP_PID=$!
wait_for_window

# Geometry of the main window on the root window, for screenshots that include the dialog.
read -r WX WY < <(xwininfo -id "$WIN" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
shot() {  # the 800 x 600 client area as a person sees it, dialogs on top included
  mkdir -p "$SHOTS"
  import -window root -crop "800x600+$WX+$WY" +repage -strip "$SHOTS/$1.png"
}

SEA=#7FB3D5        # the map at (50, 50)
ITEM1=#1D4E6B
ITEM3=#2B5F3A      # thumbnail colours (make_demo.py) of the items the tour meets
ITEM4=#31673F
ITEM20=#1D5E7B
WATER=#2A5F8A      # the band along the bottom of every demo video

# --- New user: the name entry (240 x 185) is centred at (280, 208); keys 22 x 29 from (10, 61).
wait_until 30 isnt 400 300 "#000000" || fail "no new-user screen after the start-up sequence"
name_key 1 0; name_key 2 5; name_key 2 5   # A N N
shot new-user
tap 330 375                        # ADD USER: back to the user list (240 x 320 at (280, 140))
wait_until 10 isnt 400 150 "#000000" || fail "no user list after adding the user"
tap 380 175                        # row 0: ANN
tap 330 442                        # SELECT: the map view with ANN as the current user
wait_until 10 is 50 50 "$SEA" || fail "no map view after choosing the user"
[ -f "$users" ] && grep -q '<username>ANN</username>' "$users" ||
  fail "choosing the user should have written the users file"

# --- The user starts in the middle of the map, inside the Swing bridge (region 1, (372, 318)):
# its items 1 and 2 show under it. A tap at (300, 212) is 24 pixels from the Fish quay
# (region 2, (300, 236)) and outside every other circle of radius 48.
wait_until 10 is 340 338 "$ITEM1" || fail "the Swing bridge content is not shown at the start"
isnt 268 256 "$ITEM3" || fail "Fish quay content shown before the user is there"
tap 300 212
wait_until 10 is 268 256 "$ITEM3" || fail "Fish quay item 3 did not become available"
is 308 256 "$ITEM4" || fail "Fish quay item 4 did not become available"
isnt 340 338 "$ITEM1" || fail "the Swing bridge content stayed available after leaving it"
shot map-region-entered

# --- Item 3 "Herring season" plays over the map: its title card on the item's colour, held
# while the test looks. Only Space follows, so only the end of the video can bring the map back.
tap 279 263
space
wait_until 15 near 50 50 "$ITEM3" || fail "no video over the map after tapping item 3"
wait_until 10 near 400 560 "$WATER" || fail "the video's frame is not drawn over the whole window"
shot video-playing
space
wait_until 15 is 50 50 "$SEA" || fail "the map did not come back at the end of the video"

# --- Item 20 has no region and shares theme Fishing and character Nan Storr with item 3:
# it is placed twice in the column left of the user and keeps the second slot, one icon
# below the first: centre (300 - 35, 212 - 13 + 26).
wait_until 10 is 251 215 "$ITEM20" || fail "related item 20 is not beside the user"
isnt 251 189 "$ITEM20" || fail "item 20 should have left the first slot empty"
shot related-beside-user

# --- The page view (240 x 320 at (280, 140)) opens on a tap on the user's own icon. Its
# first cell (at (309, 193): columns are wide enough for the titles under the icons) holds
# item 3; a tap plays it again, and the page view is back afterwards.
tap 300 212
wait_until 10 is 320 200 "$ITEM3" || fail "the page view does not show item 3 in its first cell"
shot page-view
tap 326 206
space
wait_until 15 near 50 50 "$ITEM3" || fail "no replay from the page view"
space
wait_until 15 is 320 200 "$ITEM3" || fail "the page view did not come back after the replay"
tap 397 438                        # CLOSE
wait_until 10 is 50 50 "$SEA" || fail "the page view did not close"

# --- Edit mode from the menu: button (1, 0) chooses, a tap on item 4 picks it, a tap at
# (400, 520) puts it there; it stays available (its region is still entered).
xdotool key --window "$WIN" Escape
wait_until 10 isnt 50 50 "$SEA" || fail "Escape did not open the menu"
shot menu
tap 44 15
tap 320 264
wait_until 10 is 308 256 "$ITEM4" || fail "item 4 vanished when chosen for editing"
tap 400 520
wait_until 10 is 388 512 "$ITEM4" || fail "item 4 was not moved to (400, 520)"
isnt 308 256 "$ITEM4" || fail "item 4 is still drawn at its old place"

# --- Set Relationships from the menu, button (2, 0): the real dialog, Times clicked on, OK.
# Item 14 (Shipyard slipway, 1800s like item 3) then becomes related and shows half-lit.
before14=$(pixel 330 476)
tap 74 15
dialog() { window_named "Set Relationships"; }
wait_until 20 dialog || fail "no \"Set Relationships\" dialog"
DLG=$(dialog)
# Controls sit at their template places (dialog units of a 154 x 66 dialog) scaled to the
# dialog's size: Times at (92, 27) 35 x 10, OK at (20, 45) 50 x 14.
read -r DW DH < <(xwininfo -id "$DLG" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
read -r DX DY < <(xwininfo -id "$DLG" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
# The Times box must end up looking like the Themes box above it, which is ticked.
box_x=$(( DX + 92 * DW / 154 + 12 ))
box() { import -window root -crop "1x1+$box_x+$(( DY + ($1 + 5) * DH / 66 ))" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n1; }
ticked=$(box 9)
[ "$(box 27)" != "$ticked" ] || fail "Times should start unticked in the demo"
xdotool mousemove --window "$DLG" $(( (92 + 17) * DW / 154 )) $(( (27 + 5) * DH / 66 )) click 1
# Then onto OK, so that Times no longer shows the pointer's hover shade.
xdotool mousemove --window "$DLG" $(( (20 + 25) * DW / 154 )) $(( (45 + 7) * DH / 66 ))
times_ticked() { [ "$(box 27)" = "$ticked" ]; }
wait_until 10 times_ticked || fail "the Times box did not tick"
shot relationships-dialog
xdotool click 1
wait_until 10 bash -c "! xwininfo -id $DLG 2>/dev/null | grep -q IsViewable" ||
  fail "OK left the dialog open"
wait_until 10 isnt 330 476 "$before14" || fail "item 14 did not become related with Times on"

# --- The exit button saves and quits.
tap 784 15
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after the exit button"

# --- Both files, byte for byte. The users file's clock readings depend on how long the tour
# took.
mask_clock() {
  sed -E -e 's#(<viewed_id>[0-9]+--)[0-9]+\.[0-9]{6}(</viewed_id>)#\1@CLOCK@\2#' \
         -e 's#<duration>[0-9]+\.[0-9]{2}</duration>#<duration>@CLOCK@</duration>#' "$1"
}
diff -u "$EXPECTED/HarbourUsers.xml" <(mask_clock "$users") >&2 ||
  fail "the users file differs from the tour's"
sed -f "$EXPECTED/Harbour.sed" "$DEMO/Harbour.xml" >"$WORK/expected.xml"
[ "$(diff "$DEMO/Harbour.xml" "$WORK/expected.xml" | grep -c '^>')" -eq 4 ] ||
  fail "the tour's four edits no longer all apply to demo/Harbour.xml"
diff -u "$WORK/expected.xml" "$project" >&2 || fail "the project file differs from the tour's"

# The clock readings themselves: minutes and seconds (below 60), the viewing before the end
# of the visit, and a visit at least as long as the two plays of the three-second video.
viewed=$(grep -o '<viewed_id>3--[0-9.]*' "$users" | sed 's/.*--//')
duration=$(grep -o '<duration>[0-9.]*' "$users" | sed 's/.*>//')
awk -v v="$viewed" -v d="$duration" 'BEGIN {
  sv = int(v * 100 + 0.5) % 100; sd = int(d * 100 + 0.5) % 100
  exit !(sv < 60 && sd < 60 && v <= d && d >= 0.06) }' ||
  fail "implausible clock: viewed at $viewed, duration $duration"
echo "tour: ok"
