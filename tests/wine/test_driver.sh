#!/bin/sh
# The stand-in driver loads from the installer's service key, answers all ten control codes,
# takes its board from the Parameters key and records the requests there.
. "$(dirname "$0")/lib.sh"

PROBE="$(orlo_artifact ioctl_probe.exe)"
probe() { wine "$PROBE" "$@" 2>/dev/null | tr -d '\r'; }
board() { "$ORLO_TOOLS/board.sh" "$ORLO_PREFIX" "$@"; }
recorded() { "$ORLO_TOOLS/board-get.sh" "$ORLO_PREFIX" "$1"; }

"$ORLO_TOOLS/install-driver.sh" "$ORLO_PREFIX" "$(orlo_artifact ZarvoORLO.SYS)"
# Keep one driver load for the whole test: chip registers live as long as the wineserver.
wineserver -p

echo "demo board"
out="$(probe)"
expect_match "sensor reply, chip 0x92" "$out" '^22200C ok 19 92'
expect_match "mainboard id at bytes 4..11" "$out" '^222010 ok 16 000000005A52562D4139323000000000$'
expect_match "PCI dword at bytes 4..7" "$out" '^222018 ok 8 001F0088810C0000$'
expect_match "VCore reply byte" "$out" '^222014 ok 1 05$'
expect_match "register read after its write" "$out" '^222024 ok 1 64$'
expect_eq "the five no-output codes succeed" "$(printf '%s\n' "$out" | grep -c ' ok 0 $')" 5

echo "board set through the Parameters key"
board ChipId REG_DWORD 0x91
board BoardId REG_BINARY 4142434445464748
board Temperature REG_BINARY 1E2D3C
board FailMask REG_DWORD 0x20
out="$(probe)"
expect_match "chip id 0x91, temperatures" "$out" '^22200C ok 19 91.{12}1E2D3C'
expect_match "new mainboard id" "$out" '^222010 ok 16 000000004142434445464748'
expect_match "failure injected for 0x222020 only" "$out" '^222020 fail '
expect_match "other codes still answer" "$out" '^222024 ok 1 02$'
board FailMask REG_DWORD 0
board ChipId -
expect_match "wrong output size fails" "$(probe 22200C 01 1)" 'fail'
expect_match "deleted value falls back to the demo board" "$(probe 22200C 01000000000000000000000000000000000000 19)" \
  '^22200C ok 19 92'

echo "registers persist while the driver stays loaded"
probe 222020 6B80 0 >/dev/null
expect_match "written register reads back" "$(probe 222024 6B 1)" '^222024 ok 1 80$'

echo "requests recorded under Parameters"
expect_eq "sensor requests counted" "$(recorded Count_22200C)" 0x4
expect_eq "register writes counted (failed one too)" "$(recorded Count_222020)" 0x3
expect_eq "last register write input" "$(recorded Last_222020)" 6B80
expect_eq "POST code value" "$(recorded PostCode)" 0x45
expect_eq "VCore set flag" "$(recorded VCoreIsSet)" 0x1
expect_eq "speaker off last" "$(recorded SpeakerOn)" 0x0
probe 22202C 020B 0 >/dev/null
expect_eq "speaker on after a tone" "$(recorded SpeakerOn)" 0x1
expect_eq "tone bytes" "$(recorded SpeakerTone)" 020B

orlo_finish
