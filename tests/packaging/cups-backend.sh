#!/bin/sh
# Prints every byte value through a raw queue on the sticker2 backend of the
# private cupsd and finds the job, byte for byte, as a new file in the folder.
set -eu
dir=${STICKER2_CUPS_DIR:?private cupsd folder}
folder="$dir/capture jobs" # the URI names it with %20
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
rm -rf "$folder"
mkdir -p "$folder"
# cupsd runs a 0755 backend as lp: the folder is lp's, and set-group-ID gives
# each job the folder's group.
[ "$(id -u)" -ne 0 ] || chown lp:users "$folder"
chmod 2750 "$folder"

job=$dir/all-bytes.prn
i=0
while [ $i -lt 256 ]; do
    printf "\\$(printf %o $i)"
    i=$((i + 1))
done >"$job"

# The device listing names a whole URI that cupsd takes. Only our backend is
# asked: the others' discovery can outlast lpinfo's wait on a busy machine.
devices=$(lpinfo --include-schemes sticker2 -v)
listed=$(printf '%s\n' "$devices" | sed -n 's/^direct \(sticker2:[^ ]*\)$/\1/p')
[ "$listed" = sticker2:/var/spool/sticker2 ] || fail "listed device: $devices"
lpadmin -p Sticker2Listed -v "$listed" && lpadmin -x Sticker2Listed || fail "cupsd refuses $listed"

# Parts of earlier jobs killed outright: the next job removes its own queue's
# that are over an hour old and held by no live job, and no other.
touch -d '2 hours ago' "$folder/.Sticker2Capture.killed.part" "$folder/.Sticker2Capture.held.part" \
    "$folder/.OtherQueue.killed.part"
touch "$folder/.Sticker2Capture.recent.part"
exec 9<"$folder/.Sticker2Capture.held.part"
flock 9 # held by this script, as by a job still running

lpadmin -p Sticker2Capture -E -v "sticker2:$dir/capture%20jobs"
lp -d Sticker2Capture "$job" >/dev/null
i=0
until ls "$folder"/*-job*.prn >/dev/null 2>&1; do
    i=$((i + 1))
    [ $i -lt 300 ] || fail "no job file in $folder; see $dir/log/error_log"
    sleep 0.1
done
lpadmin -x Sticker2Capture
out=$(ls "$folder"/*-job*.prn)
cmp "$job" "$out" || fail "$out differs from the printed file"
[ "$(stat -c %a:%g "$out")" = "640:$(stat -c %g "$folder")" ] || fail "$out: mode or group: $(stat -c %a:%G "$out")"
left=$(ls -A "$folder" | grep -v -- '-job.*\.prn\(\.info\)\?$' | tr '\n' ' ')
[ "$left" = ".OtherQueue.killed.part .Sticker2Capture.held.part .Sticker2Capture.recent.part " ] ||
    fail "parts left behind or removed wrongly: $left"

# A job the backend cannot read to its end is never published, and leaves no part.
rm -f "$folder"/* "$folder"/.[!.]*
if DEVICE_URI="sticker2:$folder" PRINTER=Sticker2Capture "$dir/bin/backend/sticker2" 7 u t 1 '' "$folder" 2>/dev/null; then
    fail "an unreadable job was reported as saved"
fi
[ -z "$(ls -A "$folder")" ] || fail "an unreadable job left: $(ls -A "$folder")"

# The folder in the device URI is %xx decoded, either case of hex; an
# escaped NUL or a broken escape is refused, and nothing is written.
# URI tail | the folder the job lands in ("-": refused)
special="$dir/a:b%c"
rm -rf "$special" "$dir/a:b"
mkdir -p "$special"
while read -r tail lands; do
    [ -n "$tail" ] || continue
    rm -f "$special"/* "$special"/.[!.]*
    if DEVICE_URI="sticker2:$dir/$tail" PRINTER=Sticker2Capture "$dir/bin/backend/sticker2" 8 u t 1 '' "$job" 2>/dev/null; then
        [ "$lands" != - ] || fail "$tail: accepted"
        cmp "$job" "$(ls "$lands"/*-job8.prn)" || fail "$tail: the job is not in $lands"
    else
        [ "$lands" = - ] || fail "$tail: refused"
        [ -z "$(ls -A "$special")" ] || fail "$tail: left $(ls -A "$special")"
    fi
done <<ROWS
a%3Ab%25c $special
a%3ab%25c $special
a:b%25%63 $special
a:b%25c%00 -
a:b%25c%2 -
a:b%25c%zz -
ROWS

# Each job's details (who printed it, its title, the queue) are in its side
# file .<job>.info, there before the job appears. As root the job is printed
# for another user (lp -U), as the printing programs of a shared computer do.
rm -f "$folder"/* "$folder"/.[!.]*
lpadmin -p Sticker2Capture -E -v "sticker2:$dir/capture%20jobs"
title=$(printf 'Rechnung 100%% M\303\244rz')
if [ "$(id -u)" -eq 0 ]; then user=anna; else user=$(id -un); fi
jobid=$(lp -U "$user" -d Sticker2Capture -t "$title" -n 2 "$job" | sed -n 's/^request id is Sticker2Capture-\([0-9]*\) .*/\1/p')
[ -n "$jobid" ] || fail "lp gave no job id"
i=0
until out=$(ls "$folder"/*-job"$jobid".prn 2>/dev/null); do
    i=$((i + 1))
    [ $i -lt 3000 ] || fail "no job file in $folder; see $dir/log/error_log"
    sleep 0.01
done
info="$folder/.$(basename "$out").info"
[ -f "$info" ] || fail "the job appeared before its side file $info"
lpadmin -x Sticker2Capture
cmp "$job" "$out" || fail "$out differs from the printed file"
[ "$(stat -c %a:%g "$info")" = "640:$(stat -c %g "$folder")" ] || fail "$info: mode or group: $(stat -c %a:%G "$info")"
expected=$(printf 'job=%s\nuser=%s\ntitle=Rechnung 100%%25 M\303\244rz\nqueue=Sticker2Capture\ncopies=2' "$jobid" "$user")
[ "$(head -n 5 "$info")" = "$expected" ] || fail "side file: $(cat "$info") expected: $expected"
grep -q '^options=' "$info" || fail "side file without options: $(cat "$info")"
left=$(ls -A "$folder" | grep -v -- '-job.*\.prn\(\.info\)\?$' | tr '\n' ' ')
[ -z "$left" ] || fail "parts left behind: $left"

# Control bytes in a value (cupsd itself refuses them in a title) are escaped.
rm -f "$folder"/* "$folder"/.[!.]*
DEVICE_URI="sticker2:$folder" PRINTER=Sticker2Capture "$dir/bin/backend/sticker2" 8 u "$(printf 'a\tb\rc\177d%%')" 1 '' "$job" 2>/dev/null ||
    fail "the backend run by hand failed"
grep -qx 'title=a%09b%0Dc%7Fd%25' "$folder"/.*.info || fail "control bytes not escaped: $(cat "$folder"/.*.info)"
