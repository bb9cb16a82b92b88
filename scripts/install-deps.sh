#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, only those that are missing.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev libgl1-mesa-dev
          libjpeg62-turbo-dev ccache
          # the catalogues: qt_add_translations, lupdate, lrelease
          qt6-tools-dev qt6-l10n-tools
          # the window's font, and Qt's own texts in Polish
          fonts-liberation2 qt6-translations-l10n
          # the network-line tests' real serial server
          ser2net
          # the Debian package and its checks: scripts/package.sh, scripts/check-package.sh
          dpkg-dev file help2man lintian desktop-file-utils appstream debootstrap)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
