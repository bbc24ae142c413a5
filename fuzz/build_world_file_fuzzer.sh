#!/bin/sh
# Builds the world-file fuzzer (reading, and placing the map with and without a conversion)
# and runs it for a bounded time over the corpus kept in the repository:
#   fuzz/build_world_file_fuzzer.sh [seconds]
set -eu
. "$(dirname "$0")/fuzz_common.sh"
SOURCES="$ROOT/src/map/world_file.cpp $ROOT/src/map/crs_conversion.cpp"
SOURCES="$SOURCES $ROOT/src/app/new_georeference.cpp"
build_and_run world_file_fuzzer "${1:-60}" 512 "$SOURCES" "$(pkg-config --libs proj)" \
  "$ROOT/fuzz/corpus/world"
