#!/bin/sh
# Builds the track readers' fuzzer (NMEA 0183 and GPX) and runs it for a bounded time over the
# corpus kept in the repository:  fuzz/build_track_fuzzer.sh [seconds]
set -eu
. "$(dirname "$0")/fuzz_common.sh"
SOURCES=""
for f in track_nmea track_gpx track_parsing; do
  SOURCES="$SOURCES $ROOT/src/platform/position/$f.cpp"
done
build_and_run track_files_fuzzer "${1:-60}" 4096 "$SOURCES" "$(pkg-config --libs expat)" \
  "$ROOT/fuzz/corpus/tracks"
