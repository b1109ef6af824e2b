#!/usr/bin/env bash
# Installs what Chargewright needs on Debian, skipping what is there.
#   scripts/setup.sh          what building, running and testing everything needs (scripts/test.sh)
#   scripts/setup.sh --panel  only what building and running the terminal panel needs (scripts/run.sh);
#                             the report's charting library too where npm is already installed
set -euo pipefail
cd "$(dirname "$0")/.."

scope=all
case ${1:-} in
  --panel) scope=panel ;;
  "") ;;
  *)
    echo "usage: scripts/setup.sh [--panel]" >&2
    exit 2
    ;;
esac

# The `chargewright` target: the compiler and build tools, curses, libsystemd (uevents, logind), ALSA
# (volume) and libXext (display power; optional in the build, but the panel lacks DPMS without it).
panel_packages=(cmake ninja-build ccache g++ pkg-config libncurses-dev libsystemd-dev libasound2-dev
  libxext-dev libx11-dev)
# The tests, the Windows builds under Wine, the browser test of the report and the Debian package.
test_packages=(file libgtest-dev libgmock-dev googletest libbenchmark-dev tmux
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 xvfb xdotool imagemagick python3
  python3-pefile clang-format umockdev libumockdev-dev gir1.2-umockdev-1.0 dbus
  libglib2.0-bin python3-dbusmock python3-dbus python3-gi clang libclang-rt-14-dev nodejs chromium
  dpkg-dev lintian mmdebstrap man-db bash-completion)

packages=("${panel_packages[@]}")
[ "$scope" = panel ] || packages+=("${test_packages[@]}")
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ "$scope" = all ]; then
  dpkg -s wine32:i386 >/dev/null 2>&1 || missing+=("wine32:i386")
  # Some Node.js builds bring npm with them; Debian's comes as a package of its own.
  command -v npm >/dev/null 2>&1 || missing+=(npm)
fi
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "setup: installing ${missing[*]}"
  if [[ " ${missing[*]} " == *" wine32:i386 "* ]]; then
    $sudo dpkg --add-architecture i386
  fi
  # The panel's few packages come without what they merely recommend, which is most of the download.
  recommends=()
  [ "$scope" = all ] || recommends=(--no-install-recommends)
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${recommends[@]}" "${missing[@]}" >/dev/null
fi

# The report's charting library, embedded into the program when it is built; for the tests also the
# browser driver of the report's page test.
web=src/report/web
if [ "$scope" = panel ]; then
  if [ ! -e "$web/node_modules/uplot/package.json" ]; then
    if command -v npm >/dev/null 2>&1; then
      echo "setup: npm ci --omit=dev in $web"
      npm ci --prefix "$web" --omit=dev --no-audit --no-fund --loglevel=error >/dev/null
    else
      echo "setup: npm is not installed, so the report is left out; scripts/setup.sh adds it"
    fi
  fi
elif [ ! -e "$web/node_modules/playwright-core/package.json" ] || [ ! -e "$web/node_modules/.package-lock.json" ] ||
  [ "$web/package-lock.json" -nt "$web/node_modules/.package-lock.json" ]; then
  echo "setup: npm ci in $web"
  npm ci --prefix "$web" --no-audit --no-fund --loglevel=error >/dev/null
fi
