#!/usr/bin/env bash
# Exit 0 when this machine executes 32-bit x86 programs, and so Wine's 32-bit part can run: some
# kernels boot without ia32 emulation. Wine's 32-bit package brings the 32-bit loader tried here.
[ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
