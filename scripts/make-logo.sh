#!/usr/bin/env bash
# Draws the logo of the about box (resources/logo.jpg): a thermometer and an
# antenna with the "TQ-3" lettering on a blue gradient. The about box shows it
# unscaled, so it must stay 128 x 88; it is a progressive colour JPEG with
# three 8-bit components, which the program's own decoder reads.
# Needs ImageMagick's convert and identify.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/resources/logo.jpg}

font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
[ -f "$font" ] || font=Helvetica-Bold

convert -size 128x88 gradient:'#0b2f7a'-'#8fd3f5' \
  `# thermometer: glass tube, scale, red column and bulb` \
  -stroke '#404040' -strokewidth 1 -fill white \
  -draw 'roundrectangle 13,8 25,66 6,6' \
  -draw 'circle 19,72 19,62' \
  -stroke '#e0e0e0' \
  -draw 'line 27,18 31,18' -draw 'line 27,28 31,28' -draw 'line 27,38 31,38' \
  -draw 'line 27,48 31,48' -draw 'line 27,58 31,58' \
  -stroke none -fill '#e01010' \
  -draw 'rectangle 17,30 21,68' \
  -draw 'circle 19,72 19,65' \
  -fill '#ff9090' -draw 'circle 17,70 17,68' \
  `# antenna: mast, feet and radio waves` \
  -stroke '#202020' -strokewidth 2 \
  -draw 'line 96,18 96,38' -draw 'line 96,38 91,45' -draw 'line 96,38 101,45' \
  -fill none -stroke '#ffd020' -strokewidth 2 \
  -draw 'arc 88,12 104,28 200,340' \
  -draw 'arc 82,6 110,34 205,335' \
  -stroke none -fill '#ff3030' -draw 'circle 96,20 96,17' \
  `# lettering` \
  -font "$font" -pointsize 28 -gravity southeast \
  -stroke '#102040' -strokewidth 3 -fill '#102040' -annotate +6+4 'TQ-3' \
  -stroke none -fill '#ffcc00' -annotate +6+4 'TQ-3' \
  -gravity northwest \
  -strip -type TrueColor -colorspace sRGB -depth 8 \
  -interlace JPEG -sampling-factor 2x2 -quality 90 \
  "$out"

# Refuse a result the about box cannot use as it is.
info=$(identify -format '%w %h %[channels] %z %[interlace] %[type]' "$out")
case "$info" in
  "128 88 srgb 8 JPEG TrueColor") ;;
  *) echo "make-logo: unexpected result: $info" >&2; exit 1 ;;
esac
echo "Wrote $out"
