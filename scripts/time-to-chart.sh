#!/bin/bash
# Seconds from starting Plotwell with FILE until its chart is on screen: the pixel at X,Y of the
# screen (a point inside the plot where the file's curve is drawn) turns from black (no window)
# or white (the empty chart) to another colour. Needs an X display (Xvfb will do) and
# ImageMagick's import; the screen is read about every 60 ms, which bounds the precision.
#
#   Xvfb :140 -screen 0 1600x1000x24 &
#   DISPLAY=:140 scripts/time-to-chart.sh build/release/bin FILE [X Y]
set -eu
if [ $# -lt 2 ]; then
    echo "usage: $0 BIN_DIR FILE [X Y]" >&2
    exit 2
fi
bin=$1 file=$2 x=${3:-800} y=${4:-450}
: "${DISPLAY:?needs an X display}"
start=$(date +%s.%N)
"$bin/Plotwell" "$file" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null || true' EXIT
colour=
until [ -n "$colour" ] && [ "$colour" != "#FFFFFF" ] && [ "$colour" != "#000000" ]; do
    if ! kill -0 $pid 2>/dev/null; then
        echo "$0: Plotwell ended before its chart showed" >&2
        exit 1
    fi
    if [ "$(echo "$(date +%s.%N) - $start > 60" | bc)" = 1 ]; then
        echo "$0: no chart at $x,$y after 60 s" >&2
        exit 1
    fi
    colour=$(import -window root -crop "1x1+$x+$y" txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -1 || true)
done
echo "chart after $(echo "$(date +%s.%N) - $start" | bc) s"
