#!/bin/bash
# Takes docs/mainwindow.png: the main window under Xvfb, in a throw-away home, with a test of
# the left eye in progress. Needs build/mitoon, xvfb-run, xdotool and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/mainwindow.png}
binary=${MITOON_BIN:-build/mitoon}

if [ "${INSIDE_XVFB:-}" != 1 ]; then
    INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$out"
fi

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/.config"
# A window of the layout's full size: client 443 × 522 pixels plus the menu bar.
printf '[Settings]\nMainLeft=0\nMainTop=0\nMainWidth=6645\nMainHeight=8175\n' >"$home/.config/ミトーン.ini"
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
export MITOON_DRIVE_C=$home/drive_c
"$binary" &
pid=$!
# The main window: the program's visible window that is not the 501 × 311 splash screen.
wid=
for _ in $(seq 100); do
    for w in $(xdotool search --pid "$pid" --onlyvisible --class mitoon 2>/dev/null || true); do
        if ! xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: 501x311"; then
            wid=$w
        fi
    done
    [ -n "$wid" ] && break
    sleep 0.1
done
sleep 0.3
[ -n "$wid" ] || { echo "no main window" >&2; kill "$pid"; exit 1; }
# Left eye, then スタート: the first ring of a test.
eval "$(xdotool getwindowgeometry --shell "$wid")"
xdotool mousemove $((X + 1200 / 15 + 10)) $((Y + 22 + 2040 / 15 + 16)) click 1
xdotool mousemove $((X + 1200 / 15 + 30)) $((Y + 22 + 2640 / 15 + 16)) click 1
sleep 0.5
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$out"
kill "$pid"
echo "wrote $out"
