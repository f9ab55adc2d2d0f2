#!/bin/sh
# Saves the whole (virtual) screen to a PNG file.
#   tools/wine/screenshot.sh <png>
set -eu
[ $# -eq 1 ] || { echo "usage: $0 <png>" >&2; exit 64; }
[ -n "${DISPLAY:-}" ] || { echo "$0: no DISPLAY (run under xvfb-run -a)" >&2; exit 1; }
import -window root "$1"
