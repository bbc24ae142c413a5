#!/usr/bin/env bash
# Installs the built packages into a fresh, minimal Debian 12 root made by mmdebstrap from the
# package mirror apt uses on this machine (nothing else is reached), lets apt resolve their
# dependencies there as it would on a new device, and runs the installed program: --help and a
# check of the installed demo. The root is removed afterwards. Needs root (chroot).
#   check_deb_install.sh FOLDER_WITH_DEBS
set -euo pipefail
dist=$(cd "${1:?folder holding corvane_*.deb and corvane-demo_*.deb}" && pwd)
program=$(ls "$dist"/corvane_*_amd64.deb | tail -n1)
demo=$(ls "$dist"/corvane-demo_*_all.deb | tail -n1)

if ! command -v mmdebstrap >/dev/null; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y --no-install-recommends mmdebstrap
fi

# The mirrors as this machine's apt has them (deb822 and one-line forms alike).
sources=()
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
  [ -s "$f" ] && grep -qv '^\s*\(#\|$\)' "$f" && sources+=("$f")
done
[ ${#sources[@]} -gt 0 ] || { echo "no apt sources on this machine" >&2; exit 1; }

root=$(mktemp -d /tmp/corvane-root.XXXXXX)
trap 'rm -rf "$root"' EXIT
# The packages downloaded are kept in a cache of their own, so a second run fetches almost
# nothing. --skip=chroot/mount: a container may not mount /proc; nothing here needs it, and
# apt, which installs inside the root, finds the packages under the same path there.
cache=${CORVANE_DEB_CACHE:-/var/tmp/corvane-deb-cache}
mkdir -p "$cache"
# The root is thrown away, so dpkg need not sync every file it writes (most of the time).
mmdebstrap --mode=root --variant=apt --skip=chroot/mount --dpkgopt=force-unsafe-io \
  --setup-hook='mkdir -p "$1/var/cache/apt/archives"' \
  --setup-hook="sync-in $cache/ /var/cache/apt/archives/" \
  --setup-hook="mkdir -p \"\$1$dist\"" \
  --setup-hook="copy-in $program $demo $dist" \
  --include="$program" --include="$demo" \
  --customize-hook="sync-out /var/cache/apt/archives/ $cache/" \
  --customize-hook='chroot "$1" corvane --help >/dev/null' \
  --customize-hook='chroot "$1" corvane check /usr/share/corvane/demo/Harbour.xml' \
  --customize-hook='chroot "$1" dpkg-query -W -f="\${Package} \${Version} \${Installed-Size} KiB\n" corvane corvane-demo' \
  bookworm "$root" "${sources[@]}"
echo "The packages install on a fresh Debian 12 and the installed program runs."
