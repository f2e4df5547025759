#!/bin/sh
# The manual page and the bash completion the build made are those of the
# program's command table as it is now, and both are sound: groff and man
# read the page without a warning, bash takes the completion and registers it.
#   made-docs.sh PROGRAM MANUAL COMPLETION
set -eu
program=${1:?the program}
manual=${2:?the made manual page}
completion=${3:?the made completion}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen LANGUAGE=en

for what in synopsis man; do
    "$program" --dump-options $what >"$work/$what"
    # The made section lies in the page whole, as the program makes it now.
    lines=$(wc -l <"$work/$what")
    first=$(head -n1 "$work/$what")
    start=$(grep -nxF -- "$first" "$manual" | head -n1 | cut -d: -f1)
    [ -n "$start" ] || fail "$manual lacks the $what section"
    tail -n "+$start" "$manual" | head -n "$lines" | cmp -s - "$work/$what" ||
        fail "$manual: the $what section is not the command table's (rebuild)"
done
! grep -q '^@STICKER2_' "$manual" || fail "$manual: a marker line is left"
"$program" --dump-options bash | cmp -s - "$completion" || fail "$completion is not the command table's (rebuild)"

warnings=$(groff -man -ww -z "$manual" 2>&1) || fail "groff: $warnings"
[ -z "$warnings" ] || fail "groff warns: $warnings"
if command -v man >/dev/null 2>&1; then
    warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$manual" 2>&1 >/dev/null) || fail "man: $warnings"
    [ -z "$warnings" ] || fail "man warns: $warnings"
fi
# Every command's forms are in the synopsis as man shows it.
groff -man -Tutf8 -P-cbou -rLL=200n "$manual" 2>/dev/null | sed -n '/^SYNOPSIS/,/^DESCRIPTION/p' >"$work/shown"
for command in view convert print stickers watch capture rules; do
    grep -q "sticker2 .*$command" "$work/shown" || fail "the synopsis shows no $command"
done

registered=$(bash -c '. "$1" && complete -p sticker2' bash "$completion") || fail "bash does not take $completion"
case $registered in
*" -F _sticker2 sticker2") ;;
*) fail "the completion registers: $registered" ;;
esac
echo "made docs: fine"
