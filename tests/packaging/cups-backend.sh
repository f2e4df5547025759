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

# The device listing names a whole URI that cupsd takes.
listed=$(lpinfo -v | sed -n 's/^direct \(sticker2:[^ ]*\)$/\1/p')
[ "$listed" = sticker2:/var/spool/sticker2 ] || fail "listed device: $(lpinfo -v | grep sticker2)"
lpadmin -p Sticker2Listed -v "$listed" && lpadmin -x Sticker2Listed || fail "cupsd refuses $listed"

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
[ -z "$(ls -A "$folder" | grep -v -- '-job.*\.prn$')" ] || fail "files left behind: $(ls -A "$folder")"
