#!/usr/bin/env bash
# After the window is resized the picture scales with its aspect kept, and a click reaches
# the program at the logical position under the pointer. Alt+F4 then asks to save, and Save
# ends it with code 0.
source "$(dirname "$0")/lib.sh"

export CORVANE_INPUT_TRACE="$WORK/input.trace"
start_x
start_app
wait_for_window
wait_until 20 window_has_size "$WIN" 800x600 || fail "client area is $(client_size "$WIN")"

# 1200 x 750 is wider than 4:3: the picture is 1000 x 750, 100 pixels in from the left, at
# scale 1.25. The client point (600, 375) is the logical (400, 300).
xdotool windowsize "$WIN" 1200 750
wait_until 20 window_has_size "$WIN" 1200x750 || fail "resize did not take: $(client_size "$WIN")"
expect="down 600 375 400 300"
# One click: while the start-up sequence holds the queue, it waits there like any input.
xdotool mousemove --window "$WIN" 600 375 click 1
wait_until 30 grep -qx "$expect" "$CORVANE_INPUT_TRACE" ||
  fail "no press at the logical (400, 300): $(cat "$CORVANE_INPUT_TRACE" 2>/dev/null)"
[ "$(wc -l <"$CORVANE_INPUT_TRACE")" -eq 1 ] || fail "one click gave $(wc -l <"$CORVANE_INPUT_TRACE") presses"
screenshot resized

give_focus "$WIN"
xdotool key --window "$WIN" --clearmodifiers alt+F4 || true
answer_box "Close Corvane" Return
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after Alt+F4"
echo "click after resize: ok"
