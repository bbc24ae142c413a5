#!/usr/bin/env bash
# Started with a project file that does not exist, the program shows its progress screen
# with the three error lines, then a box that names the file and offers another project.
# No: there is no project to show, so it ends, with exit code 1. Without a display that
# answers, it says so and ends.
source "$(dirname "$0")/lib.sh"

# Contrast where the error lines go (x from 5, y from 100), 0 to 1: light text on black
# while they are shown.
error_area_light() {
  import -window "$WIN" "$WORK/progress.png" 2>/dev/null || return 1
  convert "$WORK/progress.png" -crop 300x30+5+100 +repage -colorspace gray \
    -format '%[fx:maxima-minima]' info: 2>/dev/null
}
error_lines_shown() {
  local lit
  lit=$(error_area_light) || return 1
  awk "BEGIN { exit !($lit > 0.5) }"
}

start_x
CORVANE=$(realpath "$CORVANE")
cd "$WORK"  # the missing file is looked for from here
"$CORVANE" "$WORK/missing-project.xml" >"$WORK/app.log" 2>&1 &
APP_PID=$!
wait_for_window
# The lines stay up for two seconds before the screen is cleared.
wait_until 20 error_lines_shown || fail "the error lines never appeared"
mkdir -p "$SHOTS"
cp "$WORK/progress.png" "$SHOTS/startup-errors.png"
# The box stands over the error lines; No (Escape) ends the program.
answer_box "Not a project" Escape
wait_for_exit 30
[ "$EXIT_CODE" -eq 1 ] || fail "exit code $EXIT_CODE after No to another project"

# A display that does not answer: the program says so and ends, rather than running unseen.
DISPLAY=:64999 "$CORVANE" "$WORK/missing-project.xml" >"$WORK/app.log" 2>&1 &
APP_PID=$!
wait_for_exit 30
[ "$EXIT_CODE" -ne 0 ] || fail "exit code 0 without a display"
grep -q "Cannot start the display" "$WORK/app.log" || fail "no word of the missing display"
echo "startup errors: ok"
