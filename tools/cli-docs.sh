#!/bin/sh
# The manual page's option list and the bash completion are made from the
# program's option tables (src/cli/OptionTables.cpp) by
# `sticker2 --dump-options man|bash`. The repository keeps the made copies:
#   cli-docs.sh check  PROGRAM MANUAL COMPLETION   fails, showing the difference, when they are stale
#   cli-docs.sh update PROGRAM MANUAL COMPLETION   writes them anew
# (`cmake --build build --target cli-docs` runs the update.) In the manual the
# made part lies between the two marker lines below; the rest is written by hand.
set -eu
mode=${1:?check or update}
program=${2:?the program}
manual=${3:?the manual page}
completion=${4:?the completion file}
begin='.\" The options below are made by sticker2 --dump-options man: do not edit them here.'
end='.\" End of the made options.'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$program" --dump-options man >"$work/options"
QT_QPA_PLATFORM=offscreen "$program" --dump-options bash >"$work/completion"
grep -qxF "$begin" "$manual" && grep -qxF "$end" "$manual" || {
    echo "$manual: the marker lines of the made options are missing" >&2
    exit 1
}
# (Through the environment: awk -v would read the backslashes as escapes.)
BEGIN_LINE=$begin END_LINE=$end MADE=$work/options awk '
    $0 == ENVIRON["BEGIN_LINE"] { print; while ((getline line < ENVIRON["MADE"]) > 0) print line; skipping = 1; next }
    $0 == ENVIRON["END_LINE"] { skipping = 0 }
    !skipping { print }' "$manual" >"$work/manual"

case $mode in
check)
    stale=0
    diff -u "$manual" "$work/manual" || stale=1
    diff -u "$completion" "$work/completion" || stale=1
    if [ $stale -ne 0 ]; then
        echo "The manual page or the completion differs from the option tables:" \
            "run cmake --build build --target cli-docs" >&2
        exit 1
    fi
    ;;
update)
    cp "$work/manual" "$manual"
    cp "$work/completion" "$completion"
    ;;
*)
    echo "cli-docs.sh: check or update, not \"$mode\"" >&2
    exit 2
    ;;
esac
