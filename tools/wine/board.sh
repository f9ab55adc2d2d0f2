#!/bin/sh
# Sets one board value read by the stand-in driver at its next request (see README.md).
#   tools/wine/board.sh <prefixdir> NAME REG_DWORD 0x91
#   tools/wine/board.sh <prefixdir> NAME REG_BINARY 5A52562D41393230
#   tools/wine/board.sh <prefixdir> NAME -          (delete the value: back to the demo board)
set -eu
. "$(dirname "$0")/common.sh"

orlo_arguments 3 4 "$0 <prefixdir> NAME TYPE [VALUE]" "$@"
orlo_wine_env "$1"

if [ "$3" = "-" ]; then
  orlo_wine_quiet wine reg delete "$ORLO_PARAMETERS_KEY" /v "$2" /f || true
else
  [ $# -eq 4 ] || { echo "usage: $0 <prefixdir> NAME TYPE VALUE" >&2; exit 2; }
  orlo_wine_quiet wine reg add "$ORLO_PARAMETERS_KEY" /v "$2" /t "$3" /d "$4" /f
fi
