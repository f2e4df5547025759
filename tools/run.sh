#!/usr/bin/env bash
# Installs what is missing, builds and starts the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/tools/deps.sh"
bash "$here/tools/build.sh"
exec "${BUILD_DIR:-$here/build}/src/sticker2"
