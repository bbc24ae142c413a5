#!/usr/bin/env bash
# SIGTERM ends the program safely: it saves as the exit button does, asks nothing and ends
# with exit code 0, also while a modal dialog is open.
source "$(dirname "$0")/lib.sh"

start_x
start_app
wait_for_window
wait_until 30 lit 400 300 || fail "the start-up sequence did not end"
project="$WORK/demo/Harbour.xml"
touch -d '2000-01-01' "$project"
kill -TERM "$APP_PID"
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after SIGTERM"
[ "$(date -r "$project" +%Y)" != 2000 ] || fail "SIGTERM did not save the project"
echo "terminate: ok"
rm -rf "$WORK/demo"

# Also while the file chooser is open: it gives way, and so does the box that follows.
start_app_asking
wait_until 30 window_named "Select project" || fail "no file chooser"
kill -TERM "$APP_PID"
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after SIGTERM during the file chooser"
echo "terminate during the file chooser: ok"
