#!/usr/bin/env bash
# Sets up, builds and starts the terminal panel: on this machine's battery, or on the simulated laptop
# where it has none (arguments pass through, e.g. --simulate). Installs only what the panel needs;
# scripts/test.sh installs the rest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --panel
# Without the tests and benchmarks, whose libraries the panel does not need; scripts/test.sh turns
# them on again in the same build folder.
cmake --preset native -DCHARGEWRIGHT_TESTS=OFF -DCHARGEWRIGHT_BENCHMARKS=OFF >/dev/null
cmake --build --preset native --target chargewright
exec build/native/src/terminal/chargewright "$@"
