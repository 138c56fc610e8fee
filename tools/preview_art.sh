#!/usr/bin/env bash
# Draws every picture of resources/art and puts them, enlarged, on one sheet
# for review:   tools/preview_art.sh [SHEET.png]   (default: $TMPDIR/art-preview.png)
# Needs ImageMagick (apt-get install -y imagemagick).  The icon is shown on
# a grey ground so that its transparent pixels can be told from white.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
sheet=$(realpath -m "${1:-${TMPDIR:-/tmp}/art-preview.png}")
IM=/usr/bin
for tool in convert montage; do
  [ -x "$IM/$tool" ] || { echo "preview_art: $IM/$tool missing (apt-get install -y imagemagick)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 "$here/tools/pixelart.py" --out "$work/out" "$here/resources/art"

# Wide strips (the image list) go on rows of their own above the small pictures.
wide=() tiles=()
for f in "$work"/out/*; do
  name=$(basename "$f")
  if [ "$("$IM/identify" -format %w "$f[0]")" -gt 64 ]; then
    scale=400% wide+=("$work/$name.png")
  else
    scale=800% tiles+=("$work/$name.png")
  fi
  case "$name" in
    *.ico) "$IM/convert" "$f" -background '#a0a0a0' -flatten -filter point -resize $scale "$work/$name.png" ;;
    *) "$IM/convert" "$f" -filter point -resize $scale "$work/$name.png" ;;
  esac
done

font=()
if "$IM/convert" -list font 2>/dev/null | grep -q 'Font: DejaVu-Sans$'; then
  font=(-font DejaVu-Sans -pointsize 14)
  labels=(-label '%t')
else
  labels=(-label '')
fi
"$IM/montage" "${font[@]}" "${labels[@]}" "${tiles[@]}" -tile 5x -geometry '256x256>+12+12' \
  -background '#d8d8d8' "$work/small.png"
if [ ${#wide[@]} -gt 0 ]; then
  "$IM/montage" "${font[@]}" "${labels[@]}" "${wide[@]}" -tile 1x -geometry +12+12 \
    -background '#d8d8d8' "$work/wide.png"
  "$IM/convert" -background '#d8d8d8' "$work/wide.png" "$work/small.png" -append +repage "$sheet"
else
  cp "$work/small.png" "$sheet"
fi
echo "preview_art: wrote $sheet"
