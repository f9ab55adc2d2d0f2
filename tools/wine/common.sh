# Sourced by the scripts in tools/wine and tests/wine: the Wine environment for one prefix, the
# road a machine takes, and the build that road runs.
#   orlo_wine_env <prefixdir>      WINEPREFIX, WINEARCH and the loader for that prefix: its own
#                                  architecture when it exists, else ORLO_WINE_ARCH (win32 or
#                                  win64; default win32)
#   orlo_wine_quiet CMD...         runs a Wine command with its chatter thrown away; when it
#                                  fails, its output and status go to the error output
#   orlo_runs_i386 DIR             whether this machine runs 32-bit x86 programs (see below)
#   orlo_wine_roads DIR            the roads to take, "win32 win64" or "win64" (see below)
#   orlo_road_build ROAD           the build folder of a road, below the repository: build/win
#                                  for win32, build/win64 for win64
#   orlo_first_build DIR           the build folder of the first road (the 32-bit build where
#                                  this machine runs it), for the demo and the benchmark
#   orlo_build_arch <build>        the Wine architecture a Windows build runs in (win32, win64)
#   orlo_build_name ARCH           the words for the build of that architecture, for messages
#   orlo_require_arch ARCH DIR     fails with the reason when this machine cannot take ARCH
#   orlo_take_build_arch <build>   ORLO_WINE_ARCH set to the build's own architecture (new
#                                  prefixes take it); ends the script with the reason when
#                                  this machine cannot run that build
#   orlo_build_file <build> NAME   path of a file a Windows build made
#   orlo_arguments MIN MAX USAGE "$@"
#                                  ends the script with its usage and status 2 unless the
#                                  arguments are MIN to MAX, the first of them no option

# The folder of these scripts: set by the scripts that source this file from elsewhere.
: "${ORLO_TOOLS:=$(cd "$(dirname "$0")" && pwd)}"

orlo_wine_env() {
  case "$1" in
    /*) WINEPREFIX="$1" ;;
    *) WINEPREFIX="$(pwd)/$1" ;;
  esac
  WINEARCH="$(sed -n 's/^#arch=//p' "$WINEPREFIX/system.reg" 2>/dev/null | head -n 1)"
  WINEARCH="${WINEARCH:-${ORLO_WINE_ARCH:-win32}}"
  WINEDEBUG=-all
  # No Mono or Gecko install prompts.
  WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES
  # Debian's `wine` (and the wineboot, winecfg ... that call it) takes the 32-bit loader
  # whenever it is installed, whether this machine can run it or not: a 64-bit prefix gets
  # `wine` and `wine-stable` that run the 64-bit loader, first on PATH.
  case "$WINEARCH:$PATH:" in
    win64:"$ORLO_TOOLS/wine64":*) ;;
    win64:*) PATH="$ORLO_TOOLS/wine64:$PATH" ;;
  esac
  export PATH
}

# Ends a script with its usage and status 2 unless it has MIN to MAX arguments and the first is
# no option: a first argument that begins with "-" is never taken for a folder or file name.
#   orlo_arguments MIN MAX USAGE "$@"
orlo_arguments() {
  _args_min=$1 _args_max=$2 _args_usage=$3
  shift 3
  case "${1:-}" in
    -*) ;;
    *) [ $# -ge "$_args_min" ] && [ $# -le "$_args_max" ] && return 0 ;;
  esac
  echo "usage: $_args_usage" >&2
  exit 2
}

ORLO_SERVICE_KEY='HKLM\System\CurrentControlSet\Services\ZarvoORLO'
ORLO_PARAMETERS_KEY="$ORLO_SERVICE_KEY\\Parameters"

orlo_wine_quiet() {
  _quiet_log="$(mktemp)"
  _quiet_status=0
  "$@" >"$_quiet_log" 2>&1 || _quiet_status=$?
  if [ "$_quiet_status" -ne 0 ]; then
    echo "failed with status $_quiet_status: $*" >&2
    grep -v ':fixme:' "$_quiet_log" | tail -n 20 | sed 's/^/  | /' >&2
  fi
  rm -f "$_quiet_log"
  return "$_quiet_status"
}

# Whether this machine runs 32-bit x86 programs: some kernels have no IA-32 support, and there
# 32-bit Wine fails with "Exec format error" whatever packages are installed. Runs a static i386
# Linux program of 96 bytes, written into DIR, that exits with status 32; any other result means
# no. On no, ORLO_I386_FAULT holds the reason.
orlo_runs_i386() {
  mkdir -p "$1"
  _probe="$1/i386-probe"
  {
    printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0'                    # 32-bit, little-endian
    printf '\2\0\3\0\1\0\0\0\124\200\4\10'                      # executable, i386, entry 0x08048054
    printf '\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0' # one program header at 52
    printf '\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10'             # loaded from offset 0 at 0x08048000
    printf '\140\0\0\0\140\0\0\0\5\0\0\0\0\20\0\0'              # 96 bytes, read and execute
    printf '\270\1\0\0\0\273\40\0\0\0\315\200'                  # mov eax,1; mov ebx,32; int 0x80
  } >"$_probe"
  chmod +x "$_probe"
  _probe_status=0
  # bash names the exec error itself; sh would try the file as a script.
  _probe_error="$(bash -c '"$0"' "$_probe" 2>&1)" || _probe_status=$?
  rm -f "$_probe"
  [ "$_probe_status" -eq 32 ] && return 0
  ORLO_I386_FAULT="$(printf '%s\n' "$_probe_error" | tail -n 1 | sed 's/.*: //')"
  ORLO_I386_FAULT="a minimal i386 program fails with ${ORLO_I386_FAULT:-status $_probe_status}"
  return 1
}

# The roads: where 32-bit x86 programs run, the shipped 32-bit build in 32-bit prefixes and the
# x86_64 build in 64-bit prefixes; where they do not, the x86_64 build alone, said in one line on
# the error output. ORLO_WINE_ARCH=win32 or win64 forces one road; win32 fails, with the reason,
# where it cannot run. DIR is where the probe may write.
orlo_wine_roads() {
  case "${ORLO_WINE_ARCH:-}" in
    '')
      if orlo_runs_i386 "$1"; then
        echo "win32 win64"
      else
        echo "this machine runs no 32-bit x86 programs ($ORLO_I386_FAULT):" \
          "the x86_64 build runs and is tested instead, under 64-bit Wine" >&2
        echo win64
      fi
      ;;
    win32) orlo_require_arch win32 "$1" && echo win32 ;;
    win64) echo win64 ;;
    *)
      echo "ORLO_WINE_ARCH must be win32 or win64, not '$ORLO_WINE_ARCH'" >&2
      return 1
      ;;
  esac
}

orlo_require_arch() {
  [ "$1" = win32 ] || return 0
  orlo_runs_i386 "$2" && return 0
  echo "the 32-bit build cannot run under Wine here: this machine runs no 32-bit x86 programs" \
    "($ORLO_I386_FAULT); the x86_64 build (build/win64, ORLO_WINE_ARCH=win64) can" >&2
  return 1
}

orlo_road_build() {
  case "$1" in
    win32) echo build/win ;;
    win64) echo build/win64 ;;
  esac
}

orlo_first_build() {
  _first_roads="$(orlo_wine_roads "$1")" || return 1
  orlo_road_build "${_first_roads%% *}"
}

orlo_build_name() {
  case "$1" in
    win32) echo "the 32-bit build in a 32-bit prefix" ;;
    win64) echo "the x86_64 build in a 64-bit prefix" ;;
  esac
}

orlo_take_build_arch() {
  ORLO_WINE_ARCH="$(orlo_build_arch "$1")" || exit 1
  export ORLO_WINE_ARCH
  orlo_require_arch "$ORLO_WINE_ARCH" "$1" || exit 1
}

orlo_build_arch() {
  [ -f "$1/wine-arch" ] || { echo "$1 is no Windows build (no wine-arch file)" >&2; return 1; }
  cat "$1/wine-arch"
}

# The first file of that name; the Wine prefixes kept in the build folder are not searched.
orlo_build_file() {
  found="$(find "$1" -name "$2" -type f -not -path '*/CMakeFiles/*' -not -path "$1/demo-prefix/*" \
    -not -path "$1/wine-tests/*" -not -path "$1/cpu-prefixes/*" | head -n 1)"
  [ -n "$found" ] || { echo "missing build output $2 under $1" >&2; return 1; }
  echo "$found"
}
