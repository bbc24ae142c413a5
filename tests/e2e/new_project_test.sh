#!/usr/bin/env bash
# `corvane new` from a GPX file of waypoints: the project checks with only "region without
# content" warnings, the program opens it (a new user, the map view), and what it saves on
# quitting is byte for byte what `new` wrote. A second `new` into the folder is refused.
source "$(dirname "$0")/lib.sh"
WAYPOINTS=$(readlink -f "$(dirname "$0")/../fixtures/app/waypoints.gpx")
BOUNDS=-0.6262,54.491402,-0.6062,54.482601

"$CORVANE" new "$WORK/Castle" --map="$DEMO/map.png" --bounds=$BOUNDS --waypoints="$WAYPOINTS" \
  --name="Castle walk" >"$WORK/new.log" 2>&1 || fail "corvane new: $(cat "$WORK/new.log")"
project="$WORK/Castle/Castle.xml"
cp "$project" "$WORK/written.xml"
cmp -s "$DEMO/map.png" "$WORK/Castle/map.png" || fail "the map was not copied beside the project"

set +e
"$CORVANE" check "$project" >"$WORK/check.txt" 2>&1
status=$?
set -e
[ "$status" -eq 1 ] || fail "check exit status $status: $(cat "$WORK/check.txt")"
[ "$(grep -c 'warning: Region [1-4] has no content' "$WORK/check.txt")" -eq 4 ] &&
  [ "$(tail -n1 "$WORK/check.txt")" = "0 errors, 4 warnings." ] &&
  [ "$(wc -l <"$WORK/check.txt")" -eq 5 ] || fail "check found more: $(cat "$WORK/check.txt")"

if "$CORVANE" new "$WORK/Castle" --map="$DEMO/map.png" --bounds=$BOUNDS 2>"$WORK/again.log"; then
  fail "a second new overwrote the project"
fi
grep -q 'already exists' "$WORK/again.log" || fail "no reason given: $(cat "$WORK/again.log")"
cmp -s "$project" "$WORK/written.xml" || fail "the refused new changed the project"

start_x
"$CORVANE" "$project" >"$WORK/app.log" 2>&1 &
APP_PID=$!
wait_for_window
# No users file: the new-user screen, whose keys are 22 x 29 pixels from (290, 269).
key() { tap $(( 290 + $2 * 22 + 11 )) $(( 269 + $1 * 29 + 14 )); }
wait_until 30 lit 400 300 || fail "no new-user screen after the start-up sequence"
key 1 0                                # A
tap 330 375                            # confirm: the user list
wait_until 10 lit 400 150 || fail "no user list after confirming the name"
tap 380 175                            # row 0: the new user
tap 330 442                            # confirm: the map view
wait_until 10 lit 10 590 || fail "no map view of the new project"
screenshot new-project-map
tap 780 15                             # the exit button saves and quits
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after the exit button"
[ -f "$WORK/Castle/CastleUsers.xml" ] || fail "no users file written beside the project"
diff "$WORK/written.xml" "$project" >&2 || fail "the program saved the new project differently"
echo "new project: ok"
