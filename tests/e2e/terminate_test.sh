#!/usr/bin/env bash
# SIGTERM closes the program the way its close button does: exit code 0.
source "$(dirname "$0")/lib.sh"

start_x
start_app
wait_for_window
kill -TERM "$APP_PID"
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after SIGTERM"
echo "terminate: ok"
