#!/usr/bin/env bash
# Without a project on the command line the program asks in the file chooser, which gets the
# keyboard at once and fits a 1024 x 768 screen. Cancelling it shows "No file chosen,
# quiting" and the program ends with code 0; choosing the project starts the program in the
# project's folder.
source "$(dirname "$0")/lib.sh"

start_x

# Cancelled.
start_app_asking
wait_until 30 window_named "Select project" || fail "no file chooser titled \"Select project\""
chooser=$(window_named "Select project")
read -r w h < <(xwininfo -id "$chooser" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
[ "$w" -le 1024 ] && [ "$h" -le 768 ] || fail "the file chooser is ${w}x${h}, larger than 1024x768"
screenshot chooser
xdotool key Escape
wait_until 30 window_named "Info" || fail "no \"Info\" box after cancelling"
screenshot no_file_box
xdotool key Return
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after cancelling"

# Chosen by typing its path; the program moves to the project's folder.
start_app_asking
wait_until 30 window_named "Select project" || fail "no file chooser the second time"
project=$(ls "$WORK"/demo/*.xml | grep -vi users | head -n1)
xdotool key ctrl+l
xdotool type --delay 10 "$project"
xdotool key Return
wait_until 30 bash -c "[ \"\$(readlink /proc/$APP_PID/cwd)\" = \"$WORK/demo\" ]" ||
  fail "current folder is $(readlink /proc/$APP_PID/cwd), not the project's"
wait_for_window
kill -TERM "$APP_PID"
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after choosing and closing"
echo "file dialog: ok"
