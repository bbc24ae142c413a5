#!/usr/bin/env bash
# The visitor's guide on the demo, as a visitor meets it: a walk into the Fish quay shows its
# name as a banner that goes after a few seconds and as a label beside its marker, watching
# an item changes the progress line, and the page view names the item under its icon.
source "$(dirname "$0")/lib.sh"

SEA=#7FB3D5       # the map at (50, 50)
ITEM3=#2B5F3A
NAME=#FFE070      # the colour of the entered place's name and of the banner
# count_colour W H X Y COLOUR: pixels of exactly that colour in the window's area.
count_colour() {
  import -window "$WIN" -crop "$1x$2+$3+$4" -depth 8 txt:- 2>/dev/null | grep -c "$5" || true
}
area_sum() { import -window "$WIN" -crop "$1" -depth 8 rgb:- 2>/dev/null | md5sum; }
banner_shown() { [ "$(count_colour 240 44 280 34 "$NAME")" -gt 40 ]; }
banner_gone() { [ "$(count_colour 240 44 280 34 "$NAME")" -eq 0 ]; }
label_shown() { [ "$(count_colour 150 28 310 222 "$NAME")" -gt 20 ]; }

start_app_with_user ANN
wait_until 30 isnt 400 150 "#000000" || fail "no user list"
tap 380 175
tap 330 442
wait_until 10 is 50 50 "$SEA" || fail "no map view after choosing the user"
banner_gone || fail "a banner shows before any arrival"
progress_before=$(area_sum 260x20+6+576)

# --- Into the Fish quay (region 2 at (300, 236)): banner and label.
tap 300 212
wait_until 10 is 268 256 "$ITEM3" || fail "the Fish quay was not entered"
wait_until 5 banner_shown || fail "no banner naming the Fish quay on arrival"
label_shown || fail "no label beside the entered place's marker"
screenshot guide-arrival
wait_until 10 banner_gone || fail "the banner did not go after a few seconds"
label_shown || fail "the entered place's label went with the banner"

# --- A viewing changes the progress line at once.
tap 279 263
wait_until 15 isnt 50 50 "$SEA" || fail "item 3 did not play"
wait_until 15 is 50 50 "$SEA" || fail "the map did not come back after item 3"
progress_changed() { [ "$(area_sum 260x20+6+576)" != "$progress_before" ]; }
wait_until 5 progress_changed || fail "the progress line did not change after a viewing"

# --- The page view names the item under its icon (first cell at (309, 193), 35 x 26).
tap 300 212
wait_until 10 is 320 200 "$ITEM3" || fail "no page view with item 3 in its first cell"
title_shown() { [ "$(count_colour 80 16 287 220 "#FFFFFF")" -gt 10 ]; }
title_shown || fail "no title under item 3 in the page view"
screenshot guide-page-view
echo "guide: ok"
