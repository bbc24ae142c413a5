#!/usr/bin/env bash
# The position source against the real gpsd: gpsfake plays the demo walk to a private port,
# the fixes arrive in the walk's order with gpsd's error estimate, and when gpsd is killed
# mid-walk and started again the reader notices, reconnects and the fixes resume.
#   gpsfake_walk_test.sh POSITION_PROBE NMEA_LOG
set -euo pipefail
PROBE=$1
LOG=$2
WORK=$(mktemp -d)
FAKE_PID=
PROBE_PID=
HOLD_PID=

source "$(dirname "$0")/../support/wait.sh"
stop_fake() {
  [ -n "$FAKE_PID" ] || return 0
  # gpsfake's daemon is its child; both go, the daemon first.
  local daemon
  daemon=$(pgrep -P "$FAKE_PID" -x gpsd || true)
  [ -z "$daemon" ] || kill -9 $daemon 2>/dev/null || true
  kill "$FAKE_PID" 2>/dev/null || true
  # gpsfake may outlive a SIGTERM when its daemon is already gone.
  wait_until 5 bash -c "! kill -0 $FAKE_PID 2>/dev/null" || kill -9 "$FAKE_PID" 2>/dev/null || true
  wait "$FAKE_PID" 2>/dev/null || true
  FAKE_PID=
}
cleanup() {
  stop_fake
  [ -z "$PROBE_PID" ] || kill -9 "$PROBE_PID" 2>/dev/null || true
  [ -z "$HOLD_PID" ] || kill "$HOLD_PID" 2>/dev/null || true
  [ -n "${KEEP_WORK:-}" ] || rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- probe output (last lines)"; tail -n 20 "$WORK/probe.out" || true; exit 1; }
fixes() { grep -c '^FIX' "$WORK/probe.out" || true; }
losses() { grep -c '^STATE Lost' "$WORK/probe.out" || true; }
at_least() { [ "$("$1")" -ge "$2" ]; }
start_fake() {
  # A sentence every 20 ms: the walk (two sentences a point) takes about 26 s a round.
  gpsfake -q -c 0.02 -P "$PORT" "$LOG" >>"$WORK/gpsfake.log" 2>&1 &
  FAKE_PID=$!
}

# The port stays held for the whole test by a socket bound to it that never listens: the
# probe's connections are refused until gpsd listens, gpsd (which binds with SO_REUSEADDR)
# takes it at each start, and no other program can take it in between.
python3 -c 'import signal, socket
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1], flush=True)
signal.pause()' >"$WORK/port" &
HOLD_PID=$!
wait_until 10 test -s "$WORK/port" || fail "no port to hold"
PORT=$(cat "$WORK/port")
"$PROBE" 127.0.0.1 "$PORT" >"$WORK/probe.out" 2>"$WORK/probe.err" &
PROBE_PID=$!
wait_until 10 grep -q '^STATE Unreachable .*is not reachable' "$WORK/probe.out" || fail "no gpsd yet, but the source did not say so"

start_fake
wait_until 60 at_least fixes 20 || fail "no fixes from gpsfake"

lost=$(losses)
stop_fake
wait_until 20 at_least losses $((lost + 1)) || fail "the loss of gpsd was not noticed"
before=$(fixes)

start_fake
wait_until 60 at_least fixes $((before + 20)) || fail "the fixes did not resume after gpsd came back"
stop_fake

kill -TERM "$PROBE_PID"
wait_until 10 bash -c "! kill -0 $PROBE_PID 2>/dev/null" || fail "the probe did not end on SIGTERM"
wait "$PROBE_PID" || fail "the probe failed"
PROBE_PID=
grep -q '^END' "$WORK/probe.out" || fail "the reader was not closed"
! grep -q . "$WORK/probe.err" || fail "the probe wrote errors: $(head -n 5 "$WORK/probe.err")"

# Each fix is a point of the walk, in the walk's order within each session (gpsd joins in
# part-way through; after the restart it starts from the beginning again), with the
# horizontal error our NMEA reader derives from the same sentences.
python3 - "$LOG" "$WORK/probe.out" "$before" <<'PY'
import sys
log, out, before = sys.argv[1], sys.argv[2], int(sys.argv[3])

def angle(v, h):
    deg = int(float(v) // 100)
    a = deg + (float(v) - deg * 100) / 60
    return -a if h in "SW" else a

walk = []
for line in open(log):
    f = line.split("*")[0].split(",")
    if f[0] == "$GPGGA":
        walk.append((angle(f[2], f[3]), angle(f[4], f[5]), 19.0 * float(f[8])))
fixes = [tuple(map(float, l.split()[1:4])) for l in open(out) if l.startswith("FIX")]
end = [l.split() for l in open(out) if l.startswith("END")][0]
assert int(end[1]) == len(fixes) == int(end[2]), f"fixes and notices differ: {end}"
def index(fix):
    for i, (lat, lon, err) in enumerate(walk):
        if abs(lat - fix[0]) < 1e-7 and abs(lon - fix[1]) < 1e-7:
            # gpsd may leave out the estimate on a report; when it gives one it must agree.
            assert fix[2] < 0 or abs(err - fix[2]) < 1e-3, f"gpsd's error {fix[2]} is not 19 x HDOP ({err})"
            return i
    raise AssertionError(f"fix {fix} is not on the walk")
for name, session in (("first", fixes[:before]), ("second", fixes[before:])):
    idx = [index(f) for f in session]
    assert all(b >= a for a, b in zip(idx, idx[1:])), f"{name} session out of order: {idx}"
    assert len(set(idx)) >= 10, f"{name} session moved too little: {idx}"
assert sum(f[2] >= 0 for f in fixes) * 10 >= len(fixes) * 9, "gpsd's error estimates missing"
print(f"gpsfake walk: {before} fixes, gpsd killed and restarted, {len(fixes) - before} more")
PY
