#!/usr/bin/env bash
# Writes the pseudo-language catalogue: every translation is the English text in brackets.
# Usage: po/make_pseudo.sh TEMPLATE.pot OUTPUT.mo
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
msgen -o "$work/en.po" "$1"
msgfilter --keep-header -i "$work/en.po" -o "$work/xx.po" sed -e 's/^\(..*\)$/[\1]/'
msgfmt -o "$2" "$work/xx.po"
