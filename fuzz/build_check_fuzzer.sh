#!/bin/sh
# Builds the project checker's fuzzer and runs it for a bounded time over the record parsers'
# corpus and the checker's own:  fuzz/build_check_fuzzer.sh [seconds]
set -eu
. "$(dirname "$0")/fuzz_common.sh"
SOURCES="$ROOT/src/map/geo_point.cpp $ROOT/src/map/map_proportion.cpp"
for f in xml_values xml_scan xml_write xml_item xml_item_list system_item region_item \
         content_item relationship_item user_context; do
  SOURCES="$SOURCES $ROOT/src/data/$f.cpp"
done
for f in check_report line_scan record_fields reading_checks link_checks geography_checks \
         media_checks; do
  SOURCES="$SOURCES $ROOT/src/check/$f.cpp"
done
build_and_run project_check_fuzzer "${1:-60}" 16384 "$SOURCES" "" \
  "$ROOT/fuzz/corpus/data" "$ROOT/fuzz/corpus/check"
