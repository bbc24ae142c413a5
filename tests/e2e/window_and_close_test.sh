#!/usr/bin/env bash
# The program started with a project shows its window, titled "Corvane V0.01" with an
# 800 x 600 client area, and ends with exit code 0 when the window is closed.
source "$(dirname "$0")/lib.sh"
X11_CLOSE=${3:?close tool}

start_x
start_app
wait_for_window
wait_until 20 window_has_size "$WIN" 800x600 || fail "client area is $(client_size "$WIN"), not 800x600"
screenshot window
# The close button: the window manager's delete request.
"$X11_CLOSE" "$WIN"
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after closing the window"
echo "window and close: ok"
