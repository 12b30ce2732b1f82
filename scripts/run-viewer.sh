#!/usr/bin/env bash
# `make run`: shows the bundled sample data. With a display the viewer Plotwell opens it;
# without one the chart is rendered, as the graph control draws it, into build/sample.png.
set -euo pipefail
build="$1"
"$build/bin/curvex" info samples/CUTDATA.txt
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    "$build/bin/curvex" render -o build/sample.png samples/CUTDATA.txt
    echo "No display: the chart of samples/CUTDATA.txt is in build/sample.png"
else
    "$build/bin/Plotwell" "$(realpath samples/CUTDATA.txt)"
fi
