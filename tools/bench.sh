#!/bin/sh
# The benchmark: figures that keep the monitor's costs from growing back. Not a test: it times
# things, so CI does not run it; compare its ratios between runs and commits.
#   tools/bench.sh [wine-seconds]
# 1. The polling tick's cost in instructions (callgrind, host build, the simulated demo board at
#    the default 3 s interval), split into the program's own work and the simulated machine's.
# 2. The log trim's time and peak heap for logs of 10,000, 100,000 and 1,000,000 lines and for a
#    long first line, with per-line and per-byte figures and their growth as ratios.
# 3. Where Wine is installed: the CPU that ORLO.EXE takes in the tray and on the Fan page against
#    an idle Notepad (tools/wine/cpu.sh, wine-seconds per state, default 60), on the shipped
#    32-bit build where this machine runs 32-bit x86 programs, else on the x86_64 build;
#    ORLO_WINE_ARCH=win32 or win64 chooses.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
wine_seconds="${1:-60}"
case "$wine_seconds" in '' | *[!0-9]*) echo "$0: wine-seconds must be a whole number" >&2; exit 2 ;; esac
host="$root/build/host"
bench="$host/tests/bench/orlo-bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ ! -f "$host/build.ninja" ]; then
  cmake -S "$root" -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$host" --target orlo-bench >/dev/null

echo "== polling tick, host build, instructions per tick (callgrind)"
if command -v valgrind >/dev/null 2>&1 && command -v callgrind_annotate >/dev/null 2>&1; then
  ticks=$(valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
    --toggle-collect='monitor::TForm1::Timer1Timer*' "$bench" ticks 600 2>/dev/null)
  # Inclusive cost per function, "<instructions> <file>:<function>", and the total, which is
  # the ticks' alone (only they were collected). Run from the work folder: callgrind_annotate
  # splits functions by the source files it finds from where it runs.
  (cd "$work" && callgrind_annotate --auto=no --inclusive=yes --threshold=100 callgrind.out) |
    sed -n -e 's/^ *\([0-9,]*\) *([^)]*) *\(.*\) \[.*$/\1 \2/p' \
      -e 's/^ *\([0-9,]*\) *([^)]*) *PROGRAM TOTALS$/\1 TOTAL/p' | tr -d , >"$work/inclusive.txt"
  awk -v ticks="$ticks" '
    / TOTAL$/ { tick = $1 }
    / [^ ]*:os::sim::SimProcess::/ && !/SimProcess::FullPath/ { machine += $1 }
    / [^ ]*:os::sim::SimMachine::DeviceIoControl\(/ { driver = $1 }
    / [^ ]*:board_ioctl$/ { board = $1 }
    END {
      if (ticks == 0 || tick == 0) { print "  no ticks measured"; exit 1 }
      printf "  ticks measured                        %d (600 virtual seconds)\n", ticks
      printf "  whole tick                            %d\n", tick / ticks
      printf "  the program'"'"'s own work                 %d (%.0f %%)\n", (tick - machine) / ticks, 100 * (tick - machine) / tick
      printf "  the simulated machine, every call     %d (%.0f %%)\n", machine / ticks, 100 * machine / tick
      printf "    its record of driver requests       %d\n", (driver - board) / ticks
      printf "    the simulated board                 %d\n", board / ticks
    }' "$work/inclusive.txt"
else
  echo "  skipped: valgrind is not installed (apt-get install valgrind)"
fi

echo "== log trim, host build (best of three runs; peak = most heap held at once during the trim)"
printf '  %-16s %9s %11s %9s %10s %9s %11s %6s\n' case lines bytes seconds ns/line ns/byte \
  "peak bytes" "peak/bytes"
for lines in 10000 100000 1000000; do
  "$bench" trim "$lines"
done >"$work/trim.txt"
"$bench" trim-long >>"$work/trim.txt"
awk '
  {
    ns = $4 * 1e9
    printf "  %-16s %9d %11d %9.4f %10.1f %9.3f %11d %6.2f\n", $1, $2, $3, $4, ns / $2, ns / $3, $5, $5 / $3
    if ($1 == "lines") { perline[++n] = ns / $2; count[n] = $2; perbyte[n] = ns / $3 }
    if ($1 == "long-first-line") longperbyte = ns / $3
  }
  END {
    for (i = 2; i <= n; i++)
      printf "  growth of ns/line from %d to %d lines: x%.2f (1.00 is linear)\n", count[i - 1], count[i], perline[i] / perline[i - 1]
    if (n >= 1 && longperbyte > 0)
      printf "  ns/byte of the long first line against %d ordinary lines: x%.2f\n", count[1], longperbyte / perbyte[1]
  }' "$work/trim.txt"

echo "== Windows build under Wine, CPU against an idle Notepad"
if ! command -v wine >/dev/null 2>&1; then
  echo "  skipped: Wine is not installed"
else
  ORLO_TOOLS="$root/tools/wine"
  . "$ORLO_TOOLS/common.sh"
  build="$root/$(orlo_first_build "$root/build")"
  if [ ! -f "$build/dist/ORLO.EXE" ]; then
    echo "  skipped: no Windows build in $build (sh tools/build.sh)"
  else
    # cpu.sh prints its own header over its figures, naming the build it measured.
    sh "$ORLO_TOOLS/cpu.sh" "$build" "$wine_seconds" | sed 's/^/  /'
  fi
fi
