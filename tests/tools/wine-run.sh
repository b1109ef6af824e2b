#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly, with a prefix of the test run's own.
set -euo pipefail
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEPREFIX="${WINEPREFIX:-${TMPDIR:-/tmp}/chargewright-wine}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
program="$1"
shift
# 32-bit programs need the kernel's 32-bit support; some machines boot without it.
if file -b "$program" | grep -q 'PE32 executable' && ! "$(dirname "$0")/can-run-32bit.sh"; then
  echo "wine-run: $program is a 32-bit program and this machine cannot run 32-bit code" \
    "(kernel booted without ia32 emulation); run the Windows tests from the win64 build instead" >&2
  exit 125
fi
if file -b "$program" | grep -q 'PE32+'; then
  exec /usr/lib/wine/wine64 "$program" "$@"
fi
exec wine "$program" "$@"
