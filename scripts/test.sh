#!/usr/bin/env bash
# Sets up, builds everything and runs every test: the logic natively, under the sanitizers and under
# Wine; the real Windows program under Wine and Xvfb; the terminal panel in tmux; the Debian package and
# the Windows zip.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/setup.sh || exit 1

# The clean Debian root the package is installed into takes minutes to make the first time on a
# machine: made while the builds run, and kept for later runs.
debian_root=${XDG_CACHE_HOME:-$HOME/.cache}/chargewright/debian-12-root.tar
mkdir -p build
tests/package/debian-root.sh "$debian_root" >build/debian-root.log 2>&1 &
debian_root_job=$!

passed=0
failed=0
failures=()
record() {  # name status seconds
  if [ "$2" -eq 0 ]; then
    passed=$((passed + 1))
    echo "=== $1: passed ($3 s)"
  else
    failed=$((failed + 1))
    failures+=("$1")
    echo "=== $1: FAILED ($3 s)"
  fi
}
step() {
  local name=$1
  shift
  echo
  echo "=== $name"
  local started=$SECONDS status=0
  "$@" || status=$?
  record "$name" "$status" $((SECONDS - started))
}
# Steps that mostly wait (on a panel's ticks, a mock logind, the program under Wine) run beside steps
# that keep the cores busy: a group of them runs in the background with counts of its own, and its
# output and results come when it is joined.
beside_pid="" beside_log=""
beside() {  # FUNCTION: its steps, in the background
  beside_log=$(mktemp "${TMPDIR:-/tmp}/chargewright-steps.XXXXXX")
  echo
  echo "=== started beside the next steps: $1 (its output follows when they end)"
  (
    passed=0 failed=0 failures=()
    "$1"
    printf '%s\n' "$passed" "$failed" "${failures[@]}" >"$beside_log.result"
  ) >"$beside_log" 2>&1 &
  beside_pid=$!
}
join_beside() {
  [ -n "$beside_pid" ] || return 0
  wait "$beside_pid"
  cat "$beside_log"
  local group_passed=0 group_failed=1 group_failures=("steps beside: ended without results")
  if [ -s "$beside_log.result" ]; then
    { read -r group_passed; read -r group_failed; mapfile -t group_failures; } <"$beside_log.result"
  fi
  passed=$((passed + group_passed))
  failed=$((failed + group_failed))
  failures+=("${group_failures[@]}")
  rm -f "$beside_log" "$beside_log.result"
  beside_pid=""
}
build() {  # preset [targets...]
  local preset=$1
  shift
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -- -j2 "$@"
}
windows_zip() {
  rm -f build/win32/Chargewright-*-win32.zip
  (cd build/win32 && cpack -G ZIP >/dev/null) &&
    /usr/bin/python3 tests/package/check_windows_zip.py build/win32/Chargewright-*-win32.zip
}
debian_package() {
  wait "$debian_root_job" || { cat build/debian-root.log; return 1; }
  tests/package/check-deb.sh build/native "$debian_root"
}

step "layers: every include points down" /usr/bin/python3 tests/tools/check-layers.py
step "native build" build native
step "native tests" ctest --preset native
step "sanitizer build" build native-asan unit_tests posix_tests simulated_tests terminal_tests report_tests linux_tests lab_tests
step "sanitizer tests" ctest --preset native-asan

linux_end_to_end() {
  step "linux laptop: uevents from a umockdev test bed, sleep signals from a mock logind" \
    tests/linux/run-kernel-events.sh build/native/tests/linux/linux_kernel_events_tests
  step "linux laptop: S3, S4 and S5 against a mock logind on a private bus" \
    tests/linux/run-mock-logind.sh build/native/tests/linux/linux_logind_tests
  step "terminal panel end to end (tmux)" tests/e2e/terminal/run.sh build/native/src/terminal/chargewright
  step "terminal panel on the real laptop's code end to end (tmux, umockdev laptop, mock logind)" \
    tests/e2e/linux/run.sh build/native/src/terminal/chargewright
  step "unattended runs end to end (log on the simulated laptop; sleep cycles on umockdev laptops, mock logind)" \
    tests/e2e/lab/run.sh build/native/src/terminal/chargewright build/native/tests/lab/chargewright_lab_bed
  step "battery report end to end (simulated logs, headless Chromium, a week of rows)" tests/report/run.sh build/native
}
windows_tests() {
  step "$windows_preset tests under Wine (logic, Windows ports, resources, end to end)" ctest --preset "$windows_preset"
}
beside linux_end_to_end

# The shipped program is the 32-bit build. Where this machine cannot run 32-bit code under Wine,
# the same sources built for x64 carry the Windows-side tests, and the 32-bit build makes only the
# programs, which are checked as files.
if tests/tools/can-run-32bit.sh; then
  windows_preset=win32
  step "win32 build" build win32
else
  windows_preset=win64
  step "win32 build (the programs)" build win32 Chargewright chargewright-report
fi
windows_build=build/$windows_preset
step "win32 program: 32-bit GUI, known-DLL imports only" /usr/bin/python3 tests/win32/check_program.py \
  build/win32/src/win32/Chargewright.exe
step "Windows zip: exactly the two 32-bit programs and the read-me" windows_zip
if [ "$windows_preset" = win32 ]; then
  echo "note: this machine runs 32-bit programs; the Windows tests run on the shipped 32-bit build"
else
  echo "note: this machine cannot run 32-bit programs; the Windows tests run on the x64 build"
  step "win64 build" build win64
fi
join_beside

beside windows_tests
step "uevent parser fuzzing (libFuzzer, 20 s)" tests/fuzz/run.sh 20
step "report log reader fuzzing (libFuzzer, 15 s)" tests/fuzz/run.sh 15 log_reading
step "manual pages and bash completion name every option of the programs" tests/package/check-command-docs.sh \
  build/native
step "Debian package: lintian, apt install into a clean Debian 12 root, run, remove" debian_package
join_beside

# Under Wine too, so only once the tests above have left Wine's shared prefix.
if [ "$windows_preset" = win64 ]; then
  step "win32 program: resources agree with the code's table" /usr/bin/python3 tests/win32/check_resources.py \
    build/win32/src/win32/Chargewright.exe tests/tools/wine-run.sh build/win64/tests/win32/panel_template_dump.exe
fi
step "Windows program reads a described battery through its own driver under Wine (panel, broadcast, S1 log)" \
  tests/e2e/wine-battery/run.sh "$windows_build/tests/win32/wine-battery/battery_panel_driver.exe" \
  "$windows_build/src/win32/Chargewright.exe" "$windows_build/described-battery/described_battery.inf" \
  "$windows_build/artifacts"
step "formatter output and battery arithmetic identical on Linux and Windows" tests/tools/compare-format-dumps.sh \
  build/native/tests/tools/format_dump "$windows_build/tests/tools/format_dump.exe"
step "battery report on Windows under Wine (non-ASCII names, same summary as Linux)" tests/report/wine-run.sh \
  "$windows_build" build/native

echo
echo "=== benchmark (informational)"
build/native/bench/panel_tick_bench --benchmark_min_time=0.2 2>/dev/null | grep -E 'BM_|Benchmark' || true
build/native/bench/report_bench --benchmark_min_time=0.2 2>/dev/null | grep -E 'BM_' || true
build/native/bench/sysfs_query_bench --benchmark_min_time=0.2 2>/dev/null | grep -E 'BM_|Benchmark' || true

echo
for name in "${failures[@]}"; do
  echo "failed: $name"
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
