#!/usr/bin/env bash
# Writes the template of the program's texts from the marked strings (_ and N_) of the sources.
# Usage: po/make_pot.sh SOURCE_ROOT OUTPUT.pot
set -euo pipefail
root=$1
out=$2
cd "$root"
find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort > "${out}.files"
xgettext --from-code=UTF-8 --language=C++ --keyword=_ --keyword=N_ --add-comments=TRANSLATORS: \
  --package-name=corvane --msgid-bugs-address= --sort-by-file --no-wrap \
  --files-from="${out}.files" -o "$out"
rm -f "${out}.files"
