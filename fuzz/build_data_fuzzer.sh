#!/bin/sh
# Builds the record parser fuzzer with clang, ASan and UBSan, and runs it for a bounded time
# over the corpus kept in the repository:  fuzz/build_data_fuzzer.sh [seconds]
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${FUZZ_OUT:-$ROOT/build-fuzz}
SECONDS_TO_RUN=${1:-60}
mkdir -p "$OUT"
SOURCES=""
for f in xml_values xml_scan xml_write xml_item xml_item_list system_item region_item \
         content_item relationship_item \
         user_context; do
  SOURCES="$SOURCES $ROOT/src/data/$f.cpp"
done
# shellcheck disable=SC2086
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$ROOT/src" $SOURCES "$ROOT/fuzz/data_records_fuzzer.cpp" -o "$OUT/data_records_fuzzer"
# New inputs go to a scratch corpus, so the run changes no tracked file.
mkdir -p "$OUT/corpus"
"$OUT/data_records_fuzzer" -max_total_time="$SECONDS_TO_RUN" -max_len=8192 \
  "$OUT/corpus" "$ROOT/fuzz/corpus/data"
