#!/usr/bin/env bash
# Fails when code outside src/platform/ includes SDL, GTK, GLib, mpv, libav, libpng or gpsd
# headers, or any backend or internal header of the platform layer. Tests and benchmarks may
# use the headless controls (backend_headless/headless.h) and look at the layer's internals,
# but never at the real backend.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
library='#include *[<"](SDL|SDL2/|gtk/|gdk/|glib|gio/|mpv/|libav[a-z]*/|gps\.h|libgpsmm\.h|png\.h)'
backend='#include *"platform/(backend_real|backend_headless)/'
internal='#include *"platform/[a-z_]+/detail/'
status=0
report() { echo "platform boundary: $1"; status=1; }

while IFS= read -r hit; do report "$hit"; done < <(
  grep -rnE "$library" src bench fuzz tests --include='*.cpp' --include='*.h' | grep -v '^src/platform/' || true)
while IFS= read -r hit; do report "$hit"; done < <(
  grep -rnE "$backend|$internal" src --include='*.cpp' --include='*.h' | grep -v '^src/platform/' || true)
while IFS= read -r hit; do report "$hit"; done < <(
  grep -rnE '#include *"platform/backend_real/' bench fuzz tests --include='*.cpp' --include='*.h' || true)
[ $status -eq 0 ] && echo "platform boundary holds"
exit $status
