#!/usr/bin/env bash
# A save killed at any moment (kill -9) leaves the project file and the users file each whole:
# byte for byte the version before or the version after, never a mixture or a cut-off file.
# save_loop saves a large project (every list full, 128 users with 512 viewings each) over
# and over, alternating two versions; it is killed after a random delay, the files are
# compared, and it is started again on what it left. ROUNDS sets the number of kills, SEED
# the delays (printed, so that a failing run can be repeated with the same delays).
#   save_interrupt_test.sh SAVE_LOOP_PROGRAM
set -euo pipefail
HELPER=$(readlink -f "${1:?save_loop program}")
ROUNDS=${ROUNDS:-200}
SEED=${SEED:-$(od -An -N2 -tu2 /dev/urandom | tr -d ' ')}
echo "save interrupted: seed $SEED (SEED=$SEED repeats these delays)"
RANDOM=$SEED
DIR=$(mktemp -d "${TMPDIR:-/tmp}/corvane-save.XXXXXX")
PID=""
cleanup() {
  if [ -n "$PID" ]; then
    kill -KILL "$PID" 2>/dev/null || true
    wait "$PID" 2>/dev/null || true
  fi
  rm -rf "$DIR"
}
trap cleanup EXIT
fail() { echo "FAIL (seed ${SEED:-}): $*" >&2; exit 1; }

# Starts the helper and waits (at most 120 s) until it is in its saving loop.
start() {
  rm -f "$DIR/out"
  "$HELPER" "$DIR" >"$DIR/out" 2>"$DIR/err" &
  PID=$!
  local i
  for (( i = 0; i < 1200; i++ )); do
    grep -q '^saving$' "$DIR/out" 2>/dev/null && return 0
    kill -0 "$PID" 2>/dev/null || fail "save_loop ended: $(cat "$DIR/err")"
    sleep 0.1
  done
  fail "save_loop did not reach its saving loop"
}

one_of() {  # FILE A B: FILE equals A or B
  cmp -s "$1" "$2" || cmp -s "$1" "$3"
}

start
[ -s "$DIR/a.xml" ] && [ -s "$DIR/b.xml" ] || fail "no reference versions"
cmp -s "$DIR/a.xml" "$DIR/b.xml" && fail "the two versions of the project are the same"
cmp -s "$DIR/aUsers.xml" "$DIR/bUsers.xml" && fail "the two versions of the users file are the same"

midsave=0
for (( round = 1; round <= ROUNDS; round++ )); do
  # One save of both files takes some tens of milliseconds: the delay lands anywhere in one
  # or two of them.
  sleep "0.0$(( RANDOM % 90 + 10 ))"
  kill -KILL "$PID"
  wait "$PID" 2>/dev/null || true
  PID=""
  one_of "$DIR/big.xml" "$DIR/a.xml" "$DIR/b.xml" ||
    { cp "$DIR/big.xml" "${TMPDIR:-/tmp}/corvane-broken.xml"; fail "round $round: the project file is neither version (kept as corvane-broken.xml)"; }
  one_of "$DIR/bigUsers.xml" "$DIR/aUsers.xml" "$DIR/bUsers.xml" ||
    { cp "$DIR/bigUsers.xml" "${TMPDIR:-/tmp}/corvane-brokenUsers.xml"; fail "round $round: the users file is neither version (kept as corvane-brokenUsers.xml)"; }
  # A temporary file left behind means the kill came in the middle of writing one.
  if compgen -G "$DIR/big*.xml.tmp*" >/dev/null; then
    midsave=$(( midsave + 1 ))
    rm -f "$DIR"/big*.xml.tmp*
  fi
  start
done
echo "save interrupted: $ROUNDS kills, $midsave in the middle of writing a file, every file whole"
[ "$midsave" -gt 0 ] || fail "no kill came in the middle of a save: the check proved nothing"
