#!/usr/bin/env bash
# Takes the screenshot of the main window that the software centres show
# (packaging/screenshot-main.png): the configurator on a virtual display,
# logged in to the simulated controller that tq3ctl has given the sample site's
# settings (packaging/sample.tcf), those settings read and the history
# downloaded. Take it anew when
# the window changes. Needs a built default preset, xvfb-run, xdotool and
# ImageMagick's import and convert.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/packaging/screenshot-main.png}

if [ -z "${TQ3_SCREENSHOT_DISPLAY:-}" ]; then
  exec env TQ3_SCREENSHOT_DISPLAY=1 xvfb-run -a -s '-screen 0 1024x768x24' "$0" "$@"
fi

link=/tmp/tq3sim-pkg
"$here/build/default/sim/tq3sim" --link "$link" & sim=$!
app=
trap 'kill $app $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
"$here/build/default/app/ctl/tq3ctl" -q -p "$link" -P 7391 write "$here/packaging/sample.tcf"
"$here/build/default/app/tq3" --port "$link" & app=$!

window=$(xdotool search --sync --name '^Konfigurator TQ-3 v')
sleep 1
# POŁĄCZ, the read button, then the history's START; the points are the
# form's, below the menu bar.
xdotool mousemove --window "$window" 153 38 click 1
sleep 3
xdotool mousemove --window "$window" 361 50 click 1
sleep 5
xdotool mousemove --window "$window" 484 54 click 1
sleep 8
xdotool mousemove --window "$window" 700 500

read -r x y w h < <(xwininfo -id "$window" |
  awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF}
       END{print x, y, w, h}')
import -window root -crop "${w}x$h+$x+$y" +repage -strip "$out"
echo "Wrote $out (${w}x$h)"
