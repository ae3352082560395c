#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the application and the tests need.
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev qt6-charts-dev libqt6svg6-dev libqt6opengl6-dev
  libgl-dev libegl-dev libxkbcommon-dev libqt6sql6-sqlite libqt6sql6-psql libxlsxwriter-dev libfreexl-dev
  libminizip-dev libsodium-dev fonts-wqy-microhei qt6-translations-l10n postgresql xvfb xauth poppler-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
