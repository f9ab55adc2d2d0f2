#!/bin/sh
# Prints the data of one value the stand-in driver recorded (or was given), as `reg query`
# shows it: 0x1 for a REG_DWORD, hex digits for a REG_BINARY. Prints nothing when it is absent.
#   tools/wine/board-get.sh <prefixdir> NAME
set -eu
. "$(dirname "$0")/common.sh"

orlo_arguments 2 2 "$0 <prefixdir> NAME" "$@"
orlo_wine_env "$1"

wine reg query "$ORLO_PARAMETERS_KEY" /v "$2" 2>/dev/null | tr -d '\r' |
  awk -v name="$2" '$1 == name && $2 ~ /^REG_/ { print $3 }'
