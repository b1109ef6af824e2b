#!/usr/bin/env bash
# Installs what building, running and testing Chargewright needs on Debian, skipping what is there.
set -euo pipefail

packages=(cmake ninja-build ccache g++ file libgtest-dev libgmock-dev googletest libbenchmark-dev libncurses-dev tmux
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 xvfb xdotool imagemagick python3
  python3-pefile clang-format pkg-config libsystemd-dev umockdev libumockdev-dev gir1.2-umockdev-1.0 dbus
  libglib2.0-bin python3-dbusmock python3-dbus python3-gi clang libclang-rt-14-dev
  libasound2-dev libxext-dev libx11-dev nodejs chromium)

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if ! dpkg -s wine32:i386 >/dev/null 2>&1; then
  missing+=("wine32:i386")
fi
# Some Node.js builds bring npm with them; Debian's comes as a package of its own.
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "setup: installing ${missing[*]}"
  if [[ " ${missing[*]} " == *" wine32:i386 "* ]]; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The report's charting library (embedded into the program when it is built) and its browser test's driver.
web="$(dirname "$0")/../src/report/web"
if [ ! -e "$web/node_modules/.package-lock.json" ] || [ "$web/package-lock.json" -nt "$web/node_modules/.package-lock.json" ]; then
  echo "setup: npm ci in src/report/web"
  npm ci --prefix "$web" --no-audit --no-fund --loglevel=error >/dev/null
fi
