#!/bin/sh
# Builds the record parser fuzzer and runs it for a bounded time over the corpus kept in the
# repository:  fuzz/build_data_fuzzer.sh [seconds]
set -eu
. "$(dirname "$0")/fuzz_common.sh"
SOURCES=""
for f in xml_values xml_scan xml_write xml_item xml_item_list system_item region_item \
         content_item relationship_item user_context; do
  SOURCES="$SOURCES $ROOT/src/data/$f.cpp"
done
build_and_run data_records_fuzzer "${1:-60}" 8192 "$SOURCES" "" "$ROOT/fuzz/corpus/data"
