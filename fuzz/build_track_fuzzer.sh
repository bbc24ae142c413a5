#!/bin/sh
# Builds the track readers' fuzzer (NMEA 0183 and GPX) with clang, ASan and UBSan, and runs
# it for a bounded time over the corpus kept in the repository:
#   fuzz/build_track_fuzzer.sh [seconds]
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${FUZZ_OUT:-$ROOT/build-fuzz}
SECONDS_TO_RUN=${1:-60}
mkdir -p "$OUT"
SOURCES=""
for f in track_nmea track_gpx track_parsing; do
  SOURCES="$SOURCES $ROOT/src/platform/position/$f.cpp"
done
# shellcheck disable=SC2086
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$ROOT/src" $SOURCES "$ROOT/fuzz/track_files_fuzzer.cpp" $(pkg-config --libs expat) \
  -o "$OUT/track_files_fuzzer"
# New inputs go to a scratch corpus, so the run changes no tracked file.
mkdir -p "$OUT/corpus_tracks"
"$OUT/track_files_fuzzer" -max_total_time="$SECONDS_TO_RUN" -max_len=4096 \
  "$OUT/corpus_tracks" "$ROOT/fuzz/corpus/tracks"
