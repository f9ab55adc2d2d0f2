#!/bin/sh
# Every command of the project whose first argument is a folder or file answers an argument that
# begins with "-" with its usage on the error output and status 2, and makes nothing of that name.
#   options_are_no_paths.sh <orlo-resgen>
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
resgen="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

check() {
  name="$1"
  shift
  for option in --help -o -; do
    status=0
    (cd "$work" && "$@" "$option" >out.txt 2>err.txt) || status=$?
    if [ "$status" -ne 2 ] || ! grep -q '^usage: ' "$work/err.txt"; then
      echo "FAIL $name $option: status $status, error output: $(cat "$work/err.txt")"
      failures=$((failures + 1))
    fi
    rm -f "$work/out.txt" "$work/err.txt"
    if [ -n "$(ls -A "$work")" ]; then
      echo "FAIL $name $option left: $(ls -A "$work")"
      failures=$((failures + 1))
      rm -rf "${work:?}"/* "${work:?}"/.[!.]* 2>/dev/null
    fi
  done
}

check orlo-resgen "$resgen"
for script in tests/wine/run-all.sh tools/wine/board-get.sh tools/wine/board.sh tools/wine/cpu.sh \
  tools/wine/install-driver.sh tools/wine/install-monitor.sh tools/wine/prefix.sh \
  tools/wine/run-demo.sh tools/wine/screenshot.sh; do
  check "$script" sh "$root/$script"
done
[ "$failures" -eq 0 ] && echo "every command answered its options with the usage and status 2"
[ "$failures" -eq 0 ]
