#!/usr/bin/env bash
# Sets up, builds and starts the terminal panel: on this machine's battery, or on the simulated laptop
# where it has none (arguments pass through, e.g. --simulate).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native --target chargewright
exec build/native/src/terminal/chargewright "$@"
