#!/usr/bin/env bash
# Fails when a text the program marks for translation is missing, untranslated or fuzzy in
# a catalogue: the template is made afresh from the sources and compared with each LL.po.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$root/po/make_pot.sh" "$root" "$work/corvane.pot" 2>/dev/null
status=0
for po in "$root"/po/*.po; do
  if ! msgfmt --check -o /dev/null "$po"; then status=1; continue; fi
  # Untranslated and fuzzy entries count as missing.
  if ! msgcmp "$po" "$work/corvane.pot" 2>"$work/report"; then
    echo "$(basename "$po"): texts without a translation:"
    grep -A1 'this message' "$work/report" | head -40 || true
    status=1
  fi
done
[ $status -eq 0 ] && echo "every marked text is translated in $(ls "$root"/po/*.po | wc -l) catalogues"
exit $status
