#!/usr/bin/env bash
# `make run`: shows the bundled sample data.
set -euo pipefail
build="$1"
"$build/bin/curvex" info samples/CUTDATA.txt
