#!/bin/sh
# Installs the stand-in driver the way the installer registers it (file in system32\drivers,
# kernel service key without ImagePath) and restarts the prefix so that it loads.
#   tools/wine/install-driver.sh <prefixdir> <ZarvoORLO.SYS>
set -eu
. "$(dirname "$0")/common.sh"

orlo_arguments 2 2 "$0 <prefixdir> <ZarvoORLO.SYS>" "$@"
orlo_wine_env "$1"

cp "$2" "$WINEPREFIX/drive_c/windows/system32/drivers/ZarvoORLO.SYS"
orlo_wine_quiet wine reg add "$ORLO_SERVICE_KEY" /v Type /t REG_DWORD /d 1 /f
orlo_wine_quiet wine reg add "$ORLO_SERVICE_KEY" /v Start /t REG_DWORD /d 2 /f
orlo_wine_quiet wine reg add "$ORLO_SERVICE_KEY" /v ErrorControl /t REG_DWORD /d 1 /f
orlo_wine_quiet wine reg add "$ORLO_SERVICE_KEY" /v DisplayName /d ZarvoORLO /f
orlo_wine_quiet wineboot -r
wineserver -w
