#!/usr/bin/env bash
# SIGTERM closes the program the way its close button does: exit code 0, also while a
# modal dialog is open.
source "$(dirname "$0")/lib.sh"

start_x
start_app
wait_for_window
kill -TERM "$APP_PID"
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after SIGTERM"
echo "terminate: ok"
rm -rf "$WORK/demo"

# Also while the file chooser is open: it gives way, and so does the box that follows.
start_app_asking
wait_until 30 window_named "Select project" || fail "no file chooser"
kill -TERM "$APP_PID"
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after SIGTERM during the file chooser"
echo "terminate during the file chooser: ok"
