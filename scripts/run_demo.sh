#!/usr/bin/env bash
# Installs what is missing, builds the program (Release, in build/) and starts it on the demo
# project. The program writes the project back when it quits, so it runs on a fresh copy
# outside the checkout. Safe to run again.
#   bash scripts/run_demo.sh                    the demo, moved about by taps
#   bash scripts/run_demo.sh --replay [OPTION]  following the demo's recorded walk
#                                               (demo/walk.gpx, --speed=10 unless given)
# Any other options are passed to the program (corvane --help lists them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --target corvane -j"$(nproc)"

copy="${XDG_DATA_HOME:-$HOME/.local/share}/corvane/demo"
rm -rf "$copy"
mkdir -p "$(dirname "$copy")"
cp -r "$root/demo" "$copy"
project=$(grep -l '<media_portrait' "$copy"/*.xml | head -n1)
if [ -z "$project" ]; then
  echo "run_demo: no project file in $root/demo" >&2
  exit 1
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "run_demo: no display to show the window on (DISPLAY is not set)" >&2
  exit 1
fi
options=()
replay=false
speed_given=false
for arg in "$@"; do
  case "$arg" in
    --replay) replay=true ;;
    --speed=*|--speed) speed_given=true; options+=("$arg") ;;
    *) options+=("$arg") ;;
  esac
done
if $replay; then
  options=("--replay=$copy/walk.gpx" "${options[@]}")
  $speed_given || options+=("--speed=10")
fi
echo "Starting Corvane on $project ${options[*]}"
exec "$build/corvane" "${options[@]}" "$project"
