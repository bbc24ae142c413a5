#!/usr/bin/env bash
# Builds the benchmarks (Release), runs every bench/*_bench program and prints a Markdown
# table of each benchmark's median wall time with its ratio to the plain 800 x 600 surface
# copy (PlainCopy800x600 of graphics_bench). The present benchmark needs a display: every
# program runs under a private X server (xvfb-run). Safe to run again.
#   CORVANE_BUILD_DIR   build folder (default build/)
#   BENCH_OUT           folder for the JSON results (default: the build folder's bench-results/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANE_BUILD_DIR:-$root/build}
out=${BENCH_OUT:-$build/bench-results}

programs=()
for src in "$root"/bench/*_bench.cpp; do programs+=("$(basename "$src" .cpp)"); done
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target "${programs[@]}" -j"$(nproc)" >/dev/null

mkdir -p "$out"
for p in "${programs[@]}"; do
  echo "running $p" >&2
  xvfb-run -a -s "-screen 0 1024x768x24" "$build/bench/$p" --benchmark_repetitions=9 \
    --benchmark_report_aggregates_only=true --benchmark_out="$out/$p.json" \
    --benchmark_out_format=json >&2
done

python3 - "$out" "${programs[@]}" <<'PY'
import json, os, sys
out, programs = sys.argv[1], sys.argv[2:]
scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
rows = []
for p in programs:
    with open(os.path.join(out, p + ".json")) as f:
        data = json.load(f)
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        rows.append((p, b["run_name"], b["real_time"] * scale[b["time_unit"]]))
base = next(t for p, n, t in rows if p == "graphics_bench" and n == "PlainCopy800x600")
print("| Program | Benchmark | Median (µs) | Ratio to plain copy |")
print("|---|---|---:|---:|")
for p, n, t in rows:
    print(f"| {p} | {n} | {t:.1f} | {t / base:.2f} |")
PY
