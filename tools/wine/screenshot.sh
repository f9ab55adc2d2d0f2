#!/bin/sh
# Saves the whole (virtual) screen to a PNG file.
#   tools/wine/screenshot.sh <png>
set -eu
. "$(dirname "$0")/common.sh"
orlo_arguments 1 1 "$0 <png>" "$@"
[ -n "${DISPLAY:-}" ] || { echo "$0: no DISPLAY (run under xvfb-run -a)" >&2; exit 1; }
import -window root "$1"
