#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tessaline Card need.
# Safe to run again: only missing packages are installed.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache clang libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins qt6-qpa-plugins
    libgl-dev libxkbcommon-dev
    zlib1g-dev libpng-dev libjpeg-dev libminizip-dev libcups2-dev libiec16022-dev libpugixml-dev libssl-dev
    fonts-dejavu-core fonts-liberation2 fonts-lohit-deva fonts-symbola fontconfig
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth imagemagick unzip dbus-daemon dbus-bin libglib2.0-bin cups-daemon cups-client
    python3 python3-openpyxl python3-aiosmtpd libreoffice-calc-nogui
    zxing-cpp-tools zbar-tools dmtx-utils zint poppler-utils shared-mime-info desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
