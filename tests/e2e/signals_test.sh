#!/usr/bin/env bash
# SIGHUP (a terminal closed, a session ending) and SIGTERM followed at once by SIGHUP (logging
# out) end the program as the exit button does: both files are written and the exit code is
# 0, also while the relationships dialog or the calibration dialog is open.
source "$(dirname "$0")/lib.sh"

start_x

# launch: a fresh copy of the demo whose users file holds HELGA, started and taken through the
# user list to the map view. Sets PROJECT and USERS, dated in the past so a write shows.
launch() {
  start_app_with_user HELGA
  wait_until 30 lit 400 150 || fail "no user list after the start-up sequence"
  tap 380 175   # row 0: HELGA
  tap 330 442   # confirm: the map view
  wait_until 10 lit 10 590 || fail "no map view after confirming the user"
}

# signal_and_check WHAT SIGNAL...: sends the signals back to back and checks the saved files.
signal_and_check() {
  local what=$1
  shift
  for sig in "$@"; do kill "-$sig" "$APP_PID"; done
  wait_for_exit 30
  [ "$EXIT_CODE" -eq 0 ] || fail "$what: exit code $EXIT_CODE"
  [ "$(date -r "$PROJECT" +%Y)" != 2000 ] || fail "$what: the project was not saved"
  [ "$(date -r "$USERS" +%Y)" != 2000 ] || fail "$what: the users file was not saved"
  grep -q '<username>HELGA</username>' "$USERS" || fail "$what: users file lost HELGA: $(cat "$USERS")"
  grep -q '<system>' "$PROJECT" || fail "$what: the project lost its system record"
  echo "$what: ok"
}

launch
signal_and_check "SIGHUP on the map" HUP

launch
signal_and_check "SIGTERM and SIGHUP on the map" TERM HUP

launch
xdotool key --window "$WIN" Escape   # the menu panel
tap 74 15                            # menu button (2, 0): Set Relationships
wait_until 20 window_named "Set Relationships" || fail "no \"Set Relationships\" dialog"
signal_and_check "SIGTERM with the relationships dialog open" TERM

launch
xdotool key --window "$WIN" Escape
tap 102 15                           # menu button (3, 0): calibrate
tap 400 300                          # the first point: its GPS position is asked for
wait_until 20 window_named "Calibration: first point" || fail "no calibration dialog"
signal_and_check "SIGHUP with the calibration dialog open" HUP
