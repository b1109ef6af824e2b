#!/usr/bin/env bash
# Runs the kernel event tests: uevents from a umockdev test bed, and PrepareForSleep from a mock
# logind (python-dbusmock) on a private bus that stands in for the system bus. Nothing here can
# reach the machine's own logind, so no test can put it to sleep.
set -euo pipefail
binary=$1
work=$(mktemp -d)
source "$(dirname "$0")/private-logind.sh"
trap 'stop_private_logind; rm -rf "$work"' EXIT
start_private_logind "$work"
CHARGEWRIGHT_MOCK_LOGIND=1 umockdev-wrapper "$binary" --gtest_brief=1
