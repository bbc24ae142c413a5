#!/usr/bin/env bash
# `cmake --install` into a scratch root (DESTDIR): the program, corvane-demo, the launcher
# entry naming an icon that is installed under that name, and the demo project complete and
# without a users file. Then the installed corvane-demo, with the installed demo made
# read-only as a system install leaves it, starts the program on the user's own copy (the
# new-user screen, since the copy has no users), and the installed demo stays untouched.
source "$(dirname "$0")/lib.sh"
X11_CLOSE=${3:?close tool}
BUILD=$(dirname "$CORVANE")
SOURCE=$(dirname "$DEMO")
trap 'chmod -R u+w "$WORK" 2>/dev/null; cleanup' EXIT

root="$WORK/root"
DESTDIR="$root" cmake --install "$BUILD" --prefix /usr >"$WORK/install.log" 2>&1 ||
  fail "cmake --install failed: $(cat "$WORK/install.log")"

[ -x "$root/usr/bin/corvane" ] || fail "no program in bin/"
[ -x "$root/usr/bin/corvane-demo" ] || fail "no corvane-demo in bin/"
entry="$root/usr/share/applications/corvane.desktop"
[ -f "$entry" ] || fail "no launcher entry in share/applications/"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" >&2 || fail "the launcher entry is not valid"
fi
grep -qx 'Exec=corvane %f' "$entry" || fail "the launcher entry does not start corvane"
grep -qx 'Exec=corvane-demo' "$entry" || fail "the launcher entry has no demo action"
grep -qx 'Icon=corvane' "$entry" || fail "the launcher entry names another icon"
icon="$root/usr/share/icons/hicolor/32x32/apps/corvane.png"
cmp -s "$icon" "$SOURCE/res/101_app_icon.png" || fail "the installed icon is not the program's icon"
[ "$(identify -format '%wx%h' "$icon")" = "32x32" ] || fail "the icon is not 32 x 32"

for language in de fr; do
  [ -s "$root/usr/share/locale/$language/LC_MESSAGES/corvane.mo" ] ||
    fail "no $language catalogue in share/locale/"
done

installed="$root/usr/share/corvane/demo"
diff -r -x '*Users.xml' "$DEMO" "$installed" >&2 || fail "the installed demo differs from demo/"
ls "$installed"/*Users.xml >/dev/null 2>&1 && fail "the installed demo must not ship a users file"

# First start from the launcher's demo action.
chmod -R a-w "$installed"
export XDG_DATA_HOME="$WORK/data"
start_x
"$root/usr/bin/corvane-demo" >"$WORK/app.log" 2>&1 &
APP_PID=$!
wait_for_window
copy="$XDG_DATA_HOME/corvane/demo"
dark() { [ "$(pixel "$1" "$2")" = "#000000" ]; }
wait_until 30 lit 400 300 || fail "no new-user screen on the first start of the demo"
dark 400 150 || fail "the first start of the demo should ask for a new user"
[ -f "$copy/Harbour.xml" ] || fail "corvane-demo made no copy in $copy"
[ -f "$copy/HarbourUsers.xml" ] || fail "the users file was not created beside the copy"
close_and_save
wait_for_exit 30
chmod -R u+w "$installed"
diff -r "$DEMO" "$installed" >&2 || fail "running the demo changed the installed demo"
echo "install: ok"
