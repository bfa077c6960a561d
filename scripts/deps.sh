#!/usr/bin/env bash
# Installs the Debian packages Velmora needs to build, test and run.
# Does nothing when they are all present already.
set -euo pipefail

PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev libqt6sql6-sqlite qt6-qpa-plugins libjpeg62-turbo-dev libsqlite3-dev sqlite3
  pxlib-dev
  libbenchmark-dev libxcb1-dev
  fonts-crosextra-carlito fonts-liberation fonts-bebas-neue fonts-dejavu-core
  qt6-translations-l10n qt6-image-formats-plugins libqt6svg6
  xvfb x11-utils imagemagick xdotool openbox at-spi2-core python3-pyatspi
  cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils libcups2-dev
  qt6-svg-dev
  desktop-file-utils appstream dpkg-dev groff-base lintian
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Instalando pacotes: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
