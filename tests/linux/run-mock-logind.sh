#!/usr/bin/env bash
# Runs the tests that press S3, S4 and S5 on the real laptop's panel. They talk to a mock logind
# (python-dbusmock) on a private bus that stands in for the system bus, checked before anything runs
# (private-logind.sh), so no test can reach the machine's own logind and suspend, hibernate or power
# it off.
set -euo pipefail
binary=$1
work=$(mktemp -d)
source "$(dirname "$0")/private-logind.sh"
trap 'stop_private_logind; rm -rf "$work"' EXIT
start_private_logind "$work"
"$binary" --gtest_brief=1
