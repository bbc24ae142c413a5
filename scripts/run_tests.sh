#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit and integration tests on the
# headless backend, and the end-to-end checks against the real program in a private X
# server. Safe to run again.
#   CORVANE_BUILD_DIR   build folder (default build/)
#   CORVANE_BUILD_TYPE  CMake build type (default Release)
#   CORVANE_CMAKE_ARGS  further CMake arguments, e.g. -DCORVANE_SANITIZE=ON
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANE_BUILD_DIR:-$root/build}
type=${CORVANE_BUILD_TYPE:-Release}
jobs=$(nproc)

bash "$root/scripts/setup.sh"
# shellcheck disable=SC2086  # the extra arguments are meant to split
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="$type" ${CORVANE_CMAKE_ARGS:-}
cmake --build "$build" -j"$jobs"
ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 300
