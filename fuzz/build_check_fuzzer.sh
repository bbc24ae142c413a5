#!/bin/sh
# Builds the project checker's fuzzer with clang, ASan and UBSan, and runs it for a bounded
# time over the record parsers' corpus and the checker's fixtures:
#   fuzz/build_check_fuzzer.sh [seconds]
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${FUZZ_OUT:-$ROOT/build-fuzz}
SECONDS_TO_RUN=${1:-60}
mkdir -p "$OUT"
SOURCES="$ROOT/src/map/geo_point.cpp"
for f in xml_values xml_scan xml_write xml_item xml_item_list system_item region_item \
         content_item relationship_item user_context; do
  SOURCES="$SOURCES $ROOT/src/data/$f.cpp"
done
for f in check_report line_scan record_fields reading_checks link_checks geography_checks \
         media_checks; do
  SOURCES="$SOURCES $ROOT/src/check/$f.cpp"
done
# shellcheck disable=SC2086
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$ROOT/src" $SOURCES "$ROOT/fuzz/project_check_fuzzer.cpp" -o "$OUT/project_check_fuzzer"
# New inputs go to a scratch corpus, so the run changes no tracked file.
mkdir -p "$OUT/check_corpus"
"$OUT/project_check_fuzzer" -max_total_time="$SECONDS_TO_RUN" -max_len=16384 \
  "$OUT/check_corpus" "$ROOT/fuzz/corpus/data" "$ROOT/fuzz/corpus/check"
