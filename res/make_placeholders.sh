#!/usr/bin/env bash
# Draws stand-in artwork of the right sizes for every resource image that res/ does not
# have yet. Existing images are never touched. Keyed images use 0xFF00FF as transparent,
# drawn without antialiasing so the key colour stays exact; all are 8-bit RGB, no alpha.
set -euo pipefail
cd "$(dirname "$0")"
command -v convert >/dev/null || { echo "make_placeholders.sh: ImageMagick 'convert' is needed" >&2; exit 1; }

# id name width height background draw-commands...
make() {
  local id=$1 name=$2 w=$3 h=$4 bg=$5
  shift 5
  if compgen -G "${id}_*.png" >/dev/null; then
    return
  fi
  convert -size "${w}x${h}" "xc:${bg}" +antialias "$@" -depth 8 -type TrueColor -strip \
    "PNG24:${id}_${name}.png"
  echo "made ${id}_${name}.png (${w}x${h})"
}

key='#FF00FF'

make 101 app_icon 32 32 '#1E3A6E' \
  -fill '#F0C020' -stroke white -draw 'circle 16,16 16,5'
make 102 user_icon 41 41 "$key" \
  -fill '#FFD000' -stroke black -draw 'circle 20,20 20,3' -fill black -draw 'circle 20,20 20,16'
make 104 button_background 25 25 "$key" \
  -fill '#505050' -stroke '#C0C0C0' -draw 'roundrectangle 0,0 24,24 5,5'
make 105 exit_glyph 15 13 "$key" \
  -stroke '#FF3030' -strokewidth 2 -draw 'line 2,1 12,11' -draw 'line 12,1 2,11'

# Five 33x33 marker frames, frame k standing for k + 1 content items.
markers=()
for k in 0 1 2 3 4; do
  y=$((33 * k))
  markers+=(-fill "#30A0FF" -stroke black -draw "circle 16,$((y + 16)) 16,$((y + 2))")
  for ((d = 0; d <= k; d++)); do
    markers+=(-fill white -stroke white -draw "rectangle $((6 + 5 * d)),$((y + 15)) $((8 + 5 * d)),$((y + 17))")
  done
done
make 108 region_marker 33 165 "$key" "${markers[@]}"

# Badges at rows 0 (available), 13 (viewed) and 26 (related).
make 109 badge_strip 16 42 "$key" \
  -stroke black -fill '#30D030' -draw 'rectangle 0,0 12,12' \
  -fill '#3070FF' -draw 'rectangle 0,13 12,25' \
  -fill '#FF9020' -draw 'rectangle 0,26 12,38'

make 110 page_background 240 320 '#E8DCC0' \
  -fill none -stroke '#806040' -strokewidth 2 -draw 'rectangle 2,2 237,317' \
  -draw 'line 10,45 229,45' -draw 'line 10,265 229,265'
make 111 name_entry 240 185 '#C8D0E0' \
  -fill white -stroke black -draw 'rectangle 65,38 239,48' \
  -fill '#8090B0' -stroke black -draw 'rectangle 60,140 180,165'
make 112 user_list 240 320 '#C8D0E0' \
  -fill white -stroke black -draw 'rectangle 10,30 229,290'

# The menu: sixteen 25x25 buttons on a 30-pixel pitch from (2, 3).
cells=()
for row in 0 1; do
  for col in 0 1 2 3 4 5 6 7; do
    x=$((30 * col + 2)) y=$((30 * row + 3))
    cells+=(-fill "#$(printf '%02X%02X%02X' $((40 + 25 * col)) $((200 - 60 * row)) 160)" -stroke black
            -draw "rectangle $((x + 4)),$((y + 4)) $((x + 20)),$((y + 20))")
  done
done
make 114 menu_icons 240 61 "$key" "${cells[@]}"
make 115 menu_background 240 61 "$key" \
  -fill '#404858' -stroke '#A0A8B8' -draw 'roundrectangle 0,0 239,60 6,6'
