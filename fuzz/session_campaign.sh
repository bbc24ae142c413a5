#!/bin/bash
# A long session-fuzzer campaign: one fork-mode worker that keeps going past crashes and keeps
# the whole log of every job it ran.
#   fuzz/session_campaign.sh FUZZER OUT SECONDS [more libFuzzer options]
# FUZZER is a session_fuzzer binary (fuzz/build_session_fuzzer.sh builds one). OUT receives
# corpus/ (new inputs; the repository's corpus is the seed and is not written), artifacts/
# (crashing, timed-out and out-of-memory inputs), jobs/ (each job's log, numbered by its start)
# and jobs/index (one line per job: log name, exit status). libFuzzer deletes a job's log when
# the job ends and passes on only its ERROR: lines, so it starts every job through this script,
# which keeps a copy.
set -u
if [ -n "${SESSION_CAMPAIGN_FUZZER:-}" ] && [ -n "${SESSION_CAMPAIGN_JOBS:-}" ]; then
  # One job, started by the fork-mode parent with the log it reads as standard output.
  log=$(mktemp "$SESSION_CAMPAIGN_JOBS/job-$(date -u +%Y%m%dT%H%M%S)-XXXX.log")
  "$SESSION_CAMPAIGN_FUZZER" "$@" >"$log" 2>&1
  status=$?
  cat "$log"
  echo "$(basename "$log") $status" >>"$SESSION_CAMPAIGN_JOBS/index"
  exit "$status"
fi

[ $# -ge 3 ] || { echo "usage: $0 FUZZER OUT SECONDS [libFuzzer options]" >&2; exit 2; }
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SELF="$ROOT/fuzz/$(basename "$0")"
FUZZER=$(realpath "$1")
OUT=$(realpath -m "$2")
SECONDS_TO_RUN=$3
shift 3
mkdir -p "$OUT/corpus" "$OUT/artifacts" "$OUT/jobs" "$OUT/tmp"
# The parent names its jobs' program by its own argv[0]: this script.
SESSION_CAMPAIGN_FUZZER=$FUZZER SESSION_CAMPAIGN_JOBS="$OUT/jobs" TMPDIR="$OUT/tmp" \
  CORVANE_HEADLESS=1 exec -a "$SELF" "$FUZZER" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 \
  -ignore_ooms=1 -max_total_time="$SECONDS_TO_RUN" -max_len=16384 -timeout=10 \
  -artifact_prefix="$OUT/artifacts/" "$@" "$OUT/corpus" "$ROOT/fuzz/corpus/session"
