#!/usr/bin/env bash
# Started with a project file that does not exist, the program shows its progress screen
# with the three error lines, then a box that names the file and offers another project.
# No: it runs on until its window is closed (nothing to save, so no question): exit code 0.
source "$(dirname "$0")/lib.sh"
X11_CLOSE=${3:?close tool}

# Contrast where the error lines go (x from 5, y from 100), 0 to 1: light text on black
# while they are shown, an even background once the map view has replaced them.
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
error_lines_cleared() {
  local lit
  lit=$(error_area_light) || return 1
  awk "BEGIN { exit !($lit < 0.1) }"
}

start_x
CORVANE=$(realpath "$CORVANE")
X11_CLOSE=$(realpath "$X11_CLOSE")
cd "$WORK"  # the missing file is looked for from here
"$CORVANE" "$WORK/missing-project.xml" >"$WORK/app.log" 2>&1 &
APP_PID=$!
wait_for_window
# The lines stay up for two seconds before the screen is cleared.
wait_until 20 error_lines_shown || fail "the error lines never appeared"
mkdir -p "$SHOTS"
cp "$WORK/progress.png" "$SHOTS/startup-errors.png"
# The box stands over the error lines; No (Escape) goes on as before.
answer_box "Not a project" Escape
wait_until 10 no_window "Not a project" || fail "Escape left the box open"
# Then the screen is cleared and the (empty) map view runs.
wait_until 20 error_lines_cleared || fail "the progress screen was never cleared"
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended on its own"
"$X11_CLOSE" "$WIN"
wait_for_exit 30
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after closing the window"
echo "startup errors: ok"
