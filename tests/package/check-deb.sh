#!/usr/bin/env bash
# The Debian package: built by CPack from a build, checked by lintian, installed with apt into a clean
# Debian 12 root (which fetches the dependencies shlibdeps named), its programs, manual pages and
# completion tried there, and removed again.
#   tests/package/check-deb.sh BUILD_DIR ROOT_TARBALL
set -euo pipefail
build=$(cd "$1" && pwd)
tarball=$2
# chroot and a mount namespace need root.
[ "$(id -u)" -eq 0 ] || exec sudo "$0" "$@"

rm -f "$build"/chargewright_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/chargewright_*.deb)
echo "package: $(basename "$deb")"
dpkg-deb --field "$deb" Depends

# Tags a package of this project cannot avoid are overridden inside the package, each with its reason.
lintian --fail-on error,warning --display-info "$deb"

root=$(mktemp -d "$build/debian-root.XXXXXX")
trap 'rm -rf "$root"' EXIT
tar --numeric-owner -xf "$tarball" -C "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"
# A mount namespace of its own, so /proc inside the root goes away with the test whatever happens.
unshare --mount --fork -- /bin/sh -ec 'mount -t proc proc "$1/proc"; shift; exec chroot "$@"' - "$root" "$root" /bin/sh -ec "
  export DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8
  apt-get update -qq
  cd /tmp
  apt install -y -qq -o Dpkg::Use-Pty=0 ./$(basename "$deb") >/tmp/apt.log 2>&1 || { cat /tmp/apt.log; exit 1; }
  grep '^Setting up' /tmp/apt.log | cut -d' ' -f3 | tr '\\n' ' '; echo
  chargewright --version
  chargewright-report --help >/tmp/help
  head -1 /tmp/help
  man -w chargewright
  man -w chargewright-report
  test -f /usr/share/bash-completion/completions/chargewright
  test -f /usr/share/bash-completion/completions/chargewright-report
  apt-get remove -y -qq -o Dpkg::Use-Pty=0 --purge chargewright >/dev/null
  if dpkg -s chargewright >/dev/null 2>&1; then echo 'still installed after removal'; exit 1; fi
  for left in /usr/bin/chargewright /usr/bin/chargewright-report /usr/share/man/man1/chargewright.1.gz \
      /usr/share/doc/chargewright; do
    if [ -e \$left ]; then echo \"left behind: \$left\"; exit 1; fi
  done
  echo 'installed, run and removed cleanly'
"
