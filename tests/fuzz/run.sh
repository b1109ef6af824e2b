#!/usr/bin/env bash
# Builds a fuzz target with clang's libFuzzer and runs it for a short while.
#   tests/fuzz/run.sh [SECONDS] [TARGET]   (SECONDS: default 20; TARGET: uevent (default) or log_reading)
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-20}
target=${2:-uevent}
out=build/fuzz
corpus=$out/corpus-$target
mkdir -p "$corpus"
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -Isrc)
# One object per source, so that a compiler cache, where there is one, spares the next run the compile.
compiler=(clang++)
command -v ccache >/dev/null && compiler=(ccache clang++)
build() {  # build SOURCE...: the target's program from its sources
  local objects=()
  for source in "$@"; do
    objects+=("$out/objects/$target/$(basename "${source%.cpp}").o")
    mkdir -p "$out/objects/$target"
    "${compiler[@]}" "${flags[@]}" -c "$source" -o "${objects[-1]}"
  done
  clang++ "${flags[@]}" "${objects[@]}" -o "$out/${target}_fuzz"
}
case $target in
  uevent)
    build tests/fuzz/uevent_fuzz.cpp src/linux/uevent_text.cpp src/linux/battery_figures.cpp
    printf 'POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_CHARGE_NOW=2750000\nPOWER_SUPPLY_VOLTAGE_MIN_DESIGN=7600000\nPOWER_SUPPLY_CURRENT_NOW=-1250000\nPOWER_SUPPLY_SERIAL_NUMBER=\x01\xff12' \
      >"$corpus/seed-charge"
    printf 'POWER_SUPPLY_ENERGY_FULL=51870000\nPOWER_SUPPLY_ENERGY_NOW=99999999999999999999\nPOWER_SUPPLY_POWER_NOW=-9223372036854775808' \
      >"$corpus/seed-energy"
    ;;
  log_reading)
    # Float conversions that overflow are undefined too, and not in clang's "undefined" group.
    flags+=(-fsanitize=float-cast-overflow)
    build tests/fuzz/log_reading_fuzz.cpp \
      src/report/{log_reading,log_summary,summary_table,calendar,text_encoding,capacity_history,page_data}.cpp
    # An S1 session across midnight with the driver's unknown values, and a sleep test under a name
    # holding an escape sequence, its after-resume row all zero (a failed reading).
    printf 'Item\tTime\tLife%%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n0\t23:59:59  N/A%%\t       0\t   30000\t   -8010\t       0\r\n2147483647\t00:00:58 8947848.53%%\t   48000\t      -1\t-2147483648\t   41929\r\n1\t00:01:57 87.35%%\t2147483647\t   41928\t  -10434\t -41930\r\n' \
      >"$corpus/seed-s1"
    printf 'S3-\x1b]0;x\x07-23h59m59s-2026y12m31d.txt\0Time\tLife%%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n00:00:00 80.00%%\t   50000\t   40000\t  -12000\t       0\r\n07:30:00  N/A%%\t       0\t       0\t       0\t  -40000\r\n' \
      >"$corpus/seed-sleep"
    ;;
  *)
    echo "unknown fuzz target $target" >&2
    exit 2
    ;;
esac
"$out/${target}_fuzz" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 "$corpus" 2>&1 | tail -5
