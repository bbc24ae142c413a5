#!/usr/bin/env bash
# Builds the position reader's tests and the gpsd probe with ThreadSanitizer in build-tsan/
# and runs them: the reader's unit tests and the gpsfake walk with gpsd killed mid-walk.
# Any report fails the run. Slow (a second, instrumented build): run by hand, not in ctest.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${TSAN_BUILD:-$ROOT/build-tsan}
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer -Wno-stringop-truncation" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
cmake --build "$BUILD" -j2 --target corvane_tests_platform position_probe
export TSAN_OPTIONS="halt_on_error=1 ${TSAN_OPTIONS:-}"
CORVANE_HEADLESS=1 "$BUILD/tests/corvane_tests_platform" \
  --gtest_filter='PositionSource.*:GpsdReader.*:NmeaReader.*:GpxReader.*:DemoWalk.*'
bash "$ROOT/tests/gpsd/gpsfake_walk_test.sh" "$BUILD/tests/position_probe" \
  "$ROOT/tests/fixtures/position/demo_walk.nmea"
echo "no ThreadSanitizer reports"
