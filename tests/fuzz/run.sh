#!/usr/bin/env bash
# Builds the uevent fuzz target with clang's libFuzzer and runs it for a short while (seconds, default 20).
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-20}
out=build/fuzz
mkdir -p "$out/corpus"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -Isrc \
  tests/fuzz/uevent_fuzz.cpp src/linux/uevent_text.cpp src/linux/battery_figures.cpp -o "$out/uevent_fuzz"
printf 'POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_CHARGE_NOW=2750000\nPOWER_SUPPLY_VOLTAGE_MIN_DESIGN=7600000\nPOWER_SUPPLY_CURRENT_NOW=-1250000\nPOWER_SUPPLY_SERIAL_NUMBER=\x01\xff12' \
  >"$out/corpus/seed-charge"
printf 'POWER_SUPPLY_ENERGY_FULL=51870000\nPOWER_SUPPLY_ENERGY_NOW=99999999999999999999\nPOWER_SUPPLY_POWER_NOW=-9223372036854775808' \
  >"$out/corpus/seed-energy"
"$out/uevent_fuzz" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 "$out/corpus" 2>&1 | tail -5
