#!/usr/bin/env bash
# Builds the Debian package from the debian/ folder with dpkg-buildpackage,
# in a copy of the source tree under ./build/debian-package (or
# $BUILD_DIR/debian-package), so nothing is written beside the checkout.
# The packages the build needs are installed first (the source package's
# Build-Depends, and the packaging tools). DEB_BUILD_OPTIONS is passed on:
# DEB_BUILD_OPTIONS=nocheck skips building and running the tests.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
work=$build/debian-package
tools=(dpkg-dev debhelper devscripts lintian equivs fakeroot)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
# The Build-Depends not yet installed (mk-build-deps makes a package that depends on them).
if ! (cd "$here" && dpkg-checkbuilddeps >/dev/null 2>&1); then
  (cd /tmp && $SUDO mk-build-deps -i -r -t "apt-get -y --no-install-recommends" "$here/debian/control")
fi

version=$(cd "$here" && dpkg-parsechangelog -S Version)
rm -rf "$work"
mkdir -p "$work/sticker2-$version"
# The source tree without version control and build folders.
tar -C "$here" --exclude-vcs --exclude='./build*' --exclude='./obj-*' --exclude=./.cache -cf - . \
  | tar -C "$work/sticker2-$version" -xf -
cd "$work/sticker2-$version"
dpkg-buildpackage -us -uc -b
cd "$work"
lintian --fail-on error --tag-display-limit 0 ./*.changes
ls "$work"/*.deb
