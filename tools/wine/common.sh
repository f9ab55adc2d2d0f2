# Sourced by the scripts in tools/wine: the Wine environment for one prefix.
#   orlo_wine_env <prefixdir>
orlo_wine_env() {
  case "$1" in
    /*) WINEPREFIX="$1" ;;
    *) WINEPREFIX="$(pwd)/$1" ;;
  esac
  WINEARCH=win32
  WINEDEBUG=-all
  # No Mono or Gecko install prompts.
  WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES
}

ORLO_SERVICE_KEY='HKLM\System\CurrentControlSet\Services\ZarvoORLO'
ORLO_PARAMETERS_KEY="$ORLO_SERVICE_KEY\\Parameters"

# Runs a Wine command with its chatter (fixme lines, console noise) thrown away.
orlo_wine_quiet() {
  "$@" >/dev/null 2>&1
}
