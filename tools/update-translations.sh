#!/usr/bin/env bash
# Brings the translation sources (translations/sticker2_*.ts) up to date with
# the program's sources: every text in tr() or QCoreApplication::translate()
# under src/ is added (untranslated until someone translates it), texts no
# longer in the sources are dropped. Run it after adding or changing a text,
# then translate the new entries (Qt Linguist, or by hand).
#   tools/update-translations.sh [TS_FOLDER]
# TS_FOLDER (default: translations/) holds the .ts files to refresh; the
# tests refresh a copy to see whether the committed files are current.
# LUPDATE names the lupdate to run (default: Qt 6's, as Debian installs it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder=$(cd "${1:-$root/translations}" && pwd)
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
ts=()
for f in "$folder"/sticker2_*.ts; do
    ts+=("$f")
done
cd "$root"
# No line numbers in the files: an edit elsewhere in a source then changes
# no translation file.
exec "$lupdate" -silent -locations none -no-obsolete -I src src -ts "${ts[@]}"
