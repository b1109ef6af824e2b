#!/usr/bin/env bash
# Makes a tarball of a clean Debian 12 root (apt, and man-db for `man -w`) in which the package test
# installs the .deb, unless one is there already: it takes minutes, so it is kept between runs.
#   tests/package/debian-root.sh TARBALL
set -euo pipefail
tarball=$1
[ -f "$tarball" ] && [ -s "$tarball" ] && exit 0
mkdir -p "$(dirname "$tarball")"
rm -rf "$tarball.part"
mmdebstrap --quiet --format=tar --variant=apt --include=man-db bookworm "$tarball.part"
mv "$tarball.part" "$tarball"
