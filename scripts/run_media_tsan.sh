#!/usr/bin/env bash
# The media tests (the player on its own and playback in the application) under
# ThreadSanitizer, in a build folder of their own; the codec's own races are suppressed
# (tests/media_tsan.supp). Fails on any other report.
#   CORVANE_TSAN_BUILD_DIR   build folder (default build-tsan/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANE_TSAN_BUILD_DIR:-$root/build-tsan}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer -Wno-stringop-truncation" \
  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build "$build" -j"$(nproc)" --target corvane_tests_platform corvane_tests_interact >/dev/null
export TSAN_OPTIONS="suppressions=$root/tests/media_tsan.supp halt_on_error=1 exitcode=66"
"$build/tests/corvane_tests_platform" --gtest_filter='VideoPlayer.*'
"$build/tests/corvane_tests_interact" --gtest_filter='VideoPlayback*:-*TwoHundred*'
