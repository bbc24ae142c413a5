#!/usr/bin/env bash
# Builds the Debian packages corvane (the program) and corvane-demo (the demo tour) from this
# checkout: installs the build dependencies named in debian/control, builds in a scratch copy
# of the sources, checks both packages with lintian, and leaves the .deb files in dist/ (or
# in the folder given as the first argument). Safe to run again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root/dist}" && cd "${1:-$root/dist}" && pwd)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
tools=(dpkg-dev debhelper lintian fakeroot appstream)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
# What debian/control's Build-Depends asks for and this machine lacks.
unmet=$(cd "$root" && dpkg-checkbuilddeps 2>&1 | sed -n 's/.*Unmet build dependencies: //p' |
  sed 's/([^)]*)//g')
if [ -n "$unmet" ]; then
  export DEBIAN_FRONTEND=noninteractive
  # shellcheck disable=SC2086  # one word per package
  $SUDO apt-get install -y --no-install-recommends $unmet
fi

# The build runs on a copy of the tracked files, so the checkout gets no build trees and a
# stale build/ folder cannot leak into the package. The copy keeps one place (build-deb/), so
# ccache, when present, finds the objects of the last package build.
work="$root/build-deb"
rm -rf "$work"
mkdir -p "$work/corvane"
git -C "$root" ls-files -z --cached --others --exclude-standard |
  tar -C "$root" --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -C "$work/corvane" -xf -
export CORVANE_CMAKE_ARGS=""
command -v ccache >/dev/null && CORVANE_CMAKE_ARGS="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
(cd "$work/corvane" && dpkg-buildpackage -us -uc -b -j"$(nproc)")

# The AppStream metadata as software centres read it (no network: nothing is fetched).
appstreamcli validate --no-net "$work"/corvane/debian/corvane/usr/share/metainfo/*.metainfo.xml
# No error and no warning (overrides, each with its reason, are in debian/*.lintian-overrides).
lintian --fail-on error,warning "$work"/*.changes
cp "$work"/*.deb "$out/"
ls -l "$out"/*.deb
