#!/usr/bin/env bash
# Installs every Debian package that the build, the tests, the benchmarks and the programs need.
# Non-interactive and idempotent: packages already present are left as they are.
set -euo pipefail

PACKAGES=(
  # build
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config ccache
  # libraries
  libssl-dev libcurl4-openssl-dev zlib1g-dev libfmt-dev nlohmann-json3-dev
  libfreetype-dev libspng-dev libx11-dev fonts-roboto-unhinted
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  nginx-light openssl curl aria2 tinyproxy python3 time
  xvfb xdotool x11-apps imagemagick librsvg2-bin
  # programs: gdbus sends the taskbar progress signal
  libglib2.0-bin
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# nginx packages start a system service on install; the tests start their own servers.
if command -v systemctl >/dev/null 2>&1; then systemctl stop nginx tinyproxy >/dev/null 2>&1 || true; fi
service nginx stop >/dev/null 2>&1 || true
service tinyproxy stop >/dev/null 2>&1 || true
exit 0
