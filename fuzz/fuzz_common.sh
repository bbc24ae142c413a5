# Shared by the small fuzz scripts: builds one libFuzzer target with clang, ASan and UBSan
# from the given sources, and runs it for a bounded time; new inputs go to a scratch corpus
# under the build folder, so a run changes no tracked file. FUZZ_SEED fixes libFuzzer's seed
# and FUZZ_RUNS the number of inputs tried, from an emptied scratch corpus: the test suite sets
# both, so every machine, fast or slow, tries the same inputs, and a red run points at a
# change and not at luck (the time then only bounds a hang). Longer campaigns leave them unset
# and explore anew each time.
#   build_and_run NAME SECONDS MAX_LEN "SOURCES" "LINK_FLAGS" CORPUS...
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${FUZZ_OUT:-$ROOT/build-fuzz}

build_and_run() {
  name=$1 seconds=$2 max_len=$3 sources=$4 link=$5
  shift 5
  if [ -n "${FUZZ_RUNS:-}" ]; then rm -rf "$OUT/corpus_$name"; fi
  mkdir -p "$OUT/corpus_$name"
  # shellcheck disable=SC2086
  clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$ROOT/src" $sources "$ROOT/fuzz/$name.cpp" $link -o "$OUT/$name"
  "$OUT/$name" -max_total_time="$seconds" -max_len="$max_len" ${FUZZ_SEED:+-seed=$FUZZ_SEED} \
    ${FUZZ_RUNS:+-runs=$FUZZ_RUNS} \
    "$OUT/corpus_$name" "$@"
}
