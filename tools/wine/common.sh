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

# Path of a file a Windows build made, by file name (the first one found); fails with a message
# when there is none. The Wine prefixes kept in the build folder are not searched.
#   orlo_build_file <windows-build-dir> NAME      (the folder as an absolute path)
orlo_build_file() {
  found="$(find "$1" -name "$2" -type f -not -path '*/CMakeFiles/*' -not -path "$1/demo-prefix/*" \
    -not -path "$1/wine-tests/*" -not -path "$1/cpu-prefixes/*" | head -n 1)"
  [ -n "$found" ] || { echo "missing build output $2 under $1" >&2; return 1; }
  echo "$found"
}
