#!/usr/bin/env bash
# The program in German: the new-user and selection screens show German words where the
# pictures have English ones, the keyboard's second page types umlauts, and the name is
# stored in the users file as UTF-8. Screenshots of each screen are left for a look.
source "$(dirname "$0")/lib.sh"
X11_CLOSE=${3:?close tool}
RES="$DEMO/../res"

cp -r "$DEMO" "$WORK/demo"
project=$(ls "$WORK"/demo/*.xml | grep -vi 'users' | head -n1)
users="${project%.xml}Users.xml"
rm -f "$users"

start_x
LANG=C.UTF-8 LANGUAGE=de "$CORVANE" "$project" >"$WORK/app.log" 2>&1 &
APP_PID=$!
wait_for_window

# same_as_picture IMAGE X Y W H SX SY: the window's area at (SX, SY) equals the picture's at
# (X, Y), pixel for pixel.
same_as_picture() {
  local shown drawn
  shown=$(import -window "$WIN" -crop "${4}x${5}+$6+$7" -depth 8 rgb:- 2>/dev/null | md5sum)
  drawn=$(convert "$1" -crop "${4}x${5}+$2+$3" -depth 8 rgb:- 2>/dev/null | md5sum)
  [ "$shown" = "$drawn" ]
}
differs_from_picture() { ! same_as_picture "$@"; }
# The name entry is centred at (280, 208), the user list at (280, 140).
wait_until 30 lit 400 300 || fail "no new-user screen after the start-up sequence"
wait_until 10 differs_from_picture "$RES/111_name_entry.png" 14 162 81 10 294 370 ||
  fail "the new-user screen's confirm button still shows the English picture"
# The keys themselves carry no words and stay as drawn.
same_as_picture "$RES/111_name_entry.png" 11 62 20 27 291 270 || fail "the Q key is not the picture's"
screenshot de-new-user

name_key 1 0   # A
tap $((280 + 10 + 8 * 22 + 11)) $((208 + 61 + 2 * 29 + 14))   # the page key
wait_until 10 differs_from_picture "$RES/111_name_entry.png" 11 62 20 27 291 270 ||
  fail "the page key did not turn to the page with umlauts"
screenshot de-new-user-page-two
name_key 0 0   # Ä
name_key 0 3   # ß
tap 330 375    # confirm: back to the user list
wait_until 10 lit 400 150 || fail "no user list after confirming the name"
same_as_picture "$RES/112_user_list.png" 14 297 81 10 294 437 &&
  fail "the selection screen's confirm button still shows the English picture"
tap 380 175    # row 0: the new user
screenshot de-user-list
tap 330 442    # confirm: the map view
wait_until 10 lit 10 590 || fail "no map view after confirming the user"
screenshot de-map

"$X11_CLOSE" "$WIN"
answer_box "Corvane schließen" Return   # the default: save
wait_for_exit 30
[ "$EXIT_CODE" = 0 ] || fail "the program ended with $EXIT_CODE"
grep -q "<username>A$(printf '\xc3\x84\xc3\x9f')</username>" "$users" ||
  fail "the users file does not hold the name as typed: $(grep username "$users")"
echo "language: German words on both user screens, umlauts typed and stored"
