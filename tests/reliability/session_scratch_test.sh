#!/bin/bash
# The session fuzzer clears scratch folders of runs that have ended, and never one whose run
# still holds its lock, even when its process id names no process it can see (a run in
# another pid namespace).
#   session_scratch_test.sh FUZZER CORPUS_FOLDER
set -u
FUZZER=$1
CORPUS=$2
SCRATCH=$(mktemp -d)
trap 'rm -rf "$SCRATCH"' EXIT
export FUZZ_SCRATCH=$SCRATCH CORVANE_HEADLESS=1

# Process id 0 is nobody's: both folders look like those of ended runs, but one is locked.
ended="$SCRATCH/corvane-session-fuzz-0-ended"
held="$SCRATCH/corvane-session-fuzz-0-held"
mkdir "$ended" "$held"
exec 9<"$held"
flock -n 9 || { echo "cannot lock $held"; exit 1; }

if ! "$FUZZER" "$CORPUS/project_only" >"$SCRATCH/log" 2>&1; then
  cat "$SCRATCH/log"
  exit 1
fi
status=0
[ -d "$ended" ] && { echo "the folder of an ended run was left behind"; status=1; }
[ -d "$held" ] || { echo "the folder of a live run was removed"; status=1; }
# The run cleared its own folder on its way out.
leftover=$(find "$SCRATCH" -maxdepth 1 -name 'corvane-session-fuzz-[1-9]*')
[ -z "$leftover" ] || { echo "left behind: $leftover"; status=1; }
exit $status
