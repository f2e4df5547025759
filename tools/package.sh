#!/usr/bin/env bash
# Installs what is missing, builds and makes the Debian package in ./build
# (or $BUILD_DIR).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
bash "$here/tools/deps.sh"
bash "$here/tools/build.sh"
cd "$build"
cpack -G DEB
ls "$build"/*.deb
