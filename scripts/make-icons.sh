#!/usr/bin/env bash
# Draws the program's icon for the desktop menu (packaging/icons/): the
# controller's box with a thermometer and GSM signal bars on its face, as a
# scalable SVG and as 48 x 48 and 128 x 128 PNG for the hicolor theme. The
# results are committed; the build installs them as they are.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's identify.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/packaging/icons}
name=com.example.tq3

mkdir -p "$out/scalable" "$out/48x48" "$out/128x128"
svg=$out/scalable/$name.svg

cat >"$svg" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="128" height="128" viewBox="0 0 128 128">
  <title>Konfigurator TQ-3</title>
  <defs>
    <linearGradient id="casing" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#3b6fb6"/>
      <stop offset="1" stop-color="#1d3f75"/>
    </linearGradient>
    <linearGradient id="face" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#f7fbff"/>
      <stop offset="1" stop-color="#d9e6f4"/>
    </linearGradient>
  </defs>
  <!-- antenna -->
  <path d="M98 24 V8" stroke="#1d3f75" stroke-width="6" stroke-linecap="round" fill="none"/>
  <circle cx="98" cy="8" r="5" fill="#f2b705" stroke="#1d3f75" stroke-width="2"/>
  <!-- casing and face -->
  <rect x="8" y="22" width="112" height="96" rx="16" fill="url(#casing)" stroke="#142d55" stroke-width="3"/>
  <rect x="18" y="32" width="92" height="76" rx="9" fill="url(#face)" stroke="#142d55" stroke-width="2"/>
  <!-- thermometer: tube, scale, red column and bulb -->
  <rect x="31" y="40" width="16" height="50" rx="8" fill="#ffffff" stroke="#3c4a5e" stroke-width="3.5"/>
  <circle cx="39" cy="92" r="11" fill="#e0262b" stroke="#3c4a5e" stroke-width="3.5"/>
  <rect x="35" y="58" width="8" height="34" rx="2" fill="#e0262b"/>
  <path d="M50 50 h5 M50 60 h5 M50 70 h5 M50 80 h5" stroke="#3c4a5e" stroke-width="3" stroke-linecap="round"/>
  <!-- signal bars, three of four lit -->
  <g stroke="#146b3a" stroke-width="2">
    <rect x="60" y="88" width="9" height="12" rx="2" fill="#1f9d55"/>
    <rect x="72" y="80" width="9" height="20" rx="2" fill="#1f9d55"/>
    <rect x="84" y="72" width="9" height="28" rx="2" fill="#1f9d55"/>
    <rect x="96" y="64" width="9" height="36" rx="2" fill="#b8d9c4"/>
  </g>
</svg>
EOF

for size in 48 128; do
  rsvg-convert --width "$size" --height "$size" --format png --output "$out/${size}x$size/$name.png" "$svg"
  info=$(identify -format '%w %h %[channels]' "$out/${size}x$size/$name.png")
  case "$info" in
    "$size $size srgba") ;;
    *) echo "make-icons: unexpected result for $size px: $info" >&2; exit 1 ;;
  esac
done
echo "Wrote $svg and its 48 and 128 px PNG"
