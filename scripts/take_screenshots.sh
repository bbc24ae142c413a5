#!/usr/bin/env bash
# Takes the README's screenshots (docs/images/*.png) from the real program under Xvfb: it
# runs the end-to-end tour of the demo project, which saves a picture at each stop, and keeps
# them only when the whole tour passed. Safe to run again.
#   scripts/take_screenshots.sh [CORVANE_BINARY]   (default: builds build/corvane, Release)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/images"

if [ $# -ge 1 ]; then
  bin=$(readlink -f "$1")
else
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build" --target corvane -j"$(nproc)"
  bin="$root/build/corvane"
fi

shots=$(mktemp -d "${TMPDIR:-/tmp}/corvane-shots.XXXXXX")
trap 'rm -rf "$shots"' EXIT
CORVANE_E2E_SHOTS="$shots" bash "$root/tests/e2e/tour_test.sh" "$bin" "$root/demo"
CORVANE_E2E_SHOTS="$shots" bash "$root/tests/e2e/zoom_test.sh" "$bin" "$root/demo"

mkdir -p "$out"
for name in new-user map-region-entered video-playing related-beside-user page-view menu \
            relationships-dialog zoomed-in; do
  [ -s "$shots/$name.png" ] || { echo "take_screenshots: the tour left no $name.png" >&2; exit 1; }
  cp "$shots/$name.png" "$out/$name.png"
  echo "take_screenshots: docs/images/$name.png"
done
