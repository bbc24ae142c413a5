#!/usr/bin/env bash
# Writes the template of the program's texts: the marked strings (_, N_ and P_) of the sources
# and the captions and control texts of the dialog templates in res/.
# Usage: po/make_pot.sh SOURCE_ROOT OUTPUT.pot
set -euo pipefail
root=$1
out=$(realpath -m "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$root"
# Each dialog text as a marked string on its own line, named after its template.
for dlg in res/*.dlg; do
  [ -e "$dlg" ] || continue
  mkdir -p "$work/$(dirname "$dlg")"
  grep -E '^(CAPTION|CONTROL)' "$dlg" | grep -oE '"[^"]*"$' | sed 's/.*/N_(&)/' > "$work/$dlg"
done
{
  find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort
} > "$work/files"
(cd "$work" && find res -name '*.dlg' 2>/dev/null | LC_ALL=C sort) > "$work/dialogs"
xgettext --from-code=UTF-8 --language=C++ --keyword=_ --keyword=N_ --keyword=P_:1,2 --keyword=NP_:1,2 \
  --add-comments=TRANSLATORS: --package-name=corvane --msgid-bugs-address=none --sort-by-file \
  --no-wrap --files-from="$work/files" -o "$work/sources.pot"
if [ -s "$work/dialogs" ]; then
  (cd "$work" && xgettext --from-code=UTF-8 --language=C --keyword=N_ --no-wrap \
    --files-from=dialogs -o dialogs.pot)
  msgcat --no-wrap --use-first "$work/sources.pot" "$work/dialogs.pot" -o "$out"
else
  cp "$work/sources.pot" "$out"
fi
