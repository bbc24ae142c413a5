#!/usr/bin/env bash
# --fullscreen: the window covers the whole screen (1024 x 768 here) from its top-left corner,
# the 800 x 600 picture is scaled into it, and closing (with Save in the box that asks)
# still ends the program with exit code 0.
source "$(dirname "$0")/lib.sh"
X11_CLOSE=${3:?close tool}

at_origin() { xwininfo -id "$WIN" | grep -q 'Absolute upper-left X:  0' &&
              xwininfo -id "$WIN" | grep -q 'Absolute upper-left Y:  0'; }
# The new-user screen's backdrop, scaled by 1024/800: lit in the middle, black at the edge.
new_user_screen() { lit 512 384 && [ "$(pixel 20 20)" = "#000000" ]; }

start_x
start_app --fullscreen
wait_for_window
wait_until 20 window_has_size "$WIN" 1024x768 || fail "client area is $(client_size "$WIN"), not 1024x768"
at_origin || fail "the window does not start at the screen's corner"
wait_until 30 new_user_screen || fail "the new-user screen is not shown scaled to the screen"
screenshot fullscreen
close_and_save
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after closing the window"
echo "fullscreen: ok"
