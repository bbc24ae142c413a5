#!/usr/bin/env bash
# The program started with a project shows its window, titled "Corvane V0.01" with an
# 800 x 600 client area. Closing it asks "Save before closing?": Escape cancels and the
# program runs on; Enter saves (the default) and it ends with exit code 0.
source "$(dirname "$0")/lib.sh"
X11_CLOSE=${3:?close tool}

start_x
start_app
wait_for_window
wait_until 20 window_has_size "$WIN" 800x600 || fail "client area is $(client_size "$WIN"), not 800x600"
wait_until 30 lit 400 300 || fail "the start-up sequence did not end"
screenshot window
project="$WORK/demo/Harbour.xml"
touch -d '2000-01-01' "$project"
# The close button: the window manager's delete request.
"$X11_CLOSE" "$WIN"
answer_box "Close Corvane" Escape
wait_until 10 no_window "Close Corvane" || fail "Escape left the box open"
kill -0 "$APP_PID" 2>/dev/null || fail "Cancel ended the program"
[ "$(date -r "$project" +%Y)" = 2000 ] || fail "Cancel saved the project"
close_and_save
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after closing the window"
[ "$(date -r "$project" +%Y)" != 2000 ] || fail "Save did not write the project"
echo "window and close: ok"
