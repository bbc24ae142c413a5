#!/bin/sh
# Builds the session fuzzer (the whole program instrumented, with ASan and UBSan) in a build
# of its own and runs it for a bounded time over the corpus kept in the repository:
#   fuzz/build_session_fuzzer.sh [seconds] [more libFuzzer options]
# FUZZ_OUT chooses the build folder; FUZZ_CORPUS the folder new inputs go to; FUZZ_SEED and
# FUZZ_RUNS fix libFuzzer's seed and the number of inputs tried (see fuzz_common.sh).
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${FUZZ_OUT:-$ROOT/build-fuzz}/session
SECONDS_TO_RUN=${1:-60}
[ $# -gt 0 ] && shift
LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then LAUNCHER="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"; fi
# shellcheck disable=SC2086
cmake -S "$ROOT" -B "$OUT" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANE_FUZZ=ON -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCH=OFF $LAUNCHER >/dev/null
cmake --build "$OUT" --target session_fuzzer -j"${FUZZ_JOBS:-$(nproc)}"
# New inputs go to a scratch corpus, so the run changes no tracked file.
CORPUS=${FUZZ_CORPUS:-$OUT/corpus}
if [ -n "${FUZZ_RUNS:-}" ] && [ -z "${FUZZ_CORPUS:-}" ]; then rm -rf "$CORPUS"; fi
mkdir -p "$CORPUS"
CORVANE_HEADLESS=1 "$OUT/session_fuzzer" -max_total_time="$SECONDS_TO_RUN" -max_len=16384 \
  -timeout=10 ${FUZZ_SEED:+-seed=$FUZZ_SEED} ${FUZZ_RUNS:+-runs=$FUZZ_RUNS} "$@" "$CORPUS" "$ROOT/fuzz/corpus/session"
