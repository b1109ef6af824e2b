#!/usr/bin/env bash
# Exit 0 when this machine can execute 32-bit x86 Linux programs (and so Wine's 32-bit part).
[ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
