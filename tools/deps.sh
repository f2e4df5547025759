#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# only when some are missing. Uses sudo when not run as root.
set -euo pipefail
packages=(
  build-essential cmake pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libcups2-dev libxlsxwriter-dev libminizip-dev libbenchmark-dev libzint-dev libpaper-dev libpcre2-dev libpng-dev
  libfontconfig-dev
  libgmime-3.0-dev
  libpoppler-qt6-dev libqpdf-dev qpdf
  cups cups-client poppler-utils unzip unrtf zbar-tools netpbm ghostscript
  msmtp python3-aiosmtpd acl
  fonts-liberation fonts-dejavu-core fonts-ocr-a fonts-ocr-b
  desktop-file-utils appstream shared-mime-info groff-base dpkg-dev file
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
