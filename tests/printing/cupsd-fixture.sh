#!/bin/sh
# Starts or stops a private CUPS daemon for the printing tests and benchmarks.
#
#   cupsd-fixture.sh start DIR    configuration, spool and logs under DIR; the
#                                 daemon listens only on DIR/cups.sock
#   cupsd-fixture.sh stop DIR     stops the daemon by the PID in DIR/cupsd.pid
#
# Queues after start (all raw, no filters, no driver):
#   Sticker2Raw   default destination; every job is copied to DIR/out/Sticker2Raw/
#   Sticker2Other a second queue;         copied to DIR/out/Sticker2Other/
#   Sticker2Closed rejects every job
# The capture backend writes job-<id>.title, then job-<id>.prn whole.
# With STICKER2_BACKEND naming the program's own backend, it is installed too
# (scheme sticker2:, mode 0755, so it runs as lp when cupsd runs as root).
set -eu

action=${1:?start or stop}
dir=${2:?folder}

stop_daemon() {
    [ -f "$dir/cupsd.pid" ] || return 0
    pid=$(cat "$dir/cupsd.pid")
    if kill -0 "$pid" 2>/dev/null; then
        kill -TERM "$pid"
        i=0
        while kill -0 "$pid" 2>/dev/null && [ $i -lt 100 ]; do
            sleep 0.05
            i=$((i + 1))
        done
        kill -0 "$pid" 2>/dev/null && kill -KILL "$pid"
    fi
    rm -f "$dir/cupsd.pid"
}

case "$action" in
stop)
    stop_daemon
    exit 0
    ;;
start) ;;
*)
    echo "usage: $0 start|stop DIR" >&2
    exit 2
    ;;
esac

command -v cupsd >/dev/null 2>&1 || [ -x /usr/sbin/cupsd ] || {
    echo "cupsd is not installed (Debian package cups-daemon)" >&2
    exit 1
}
PATH=$PATH:/usr/sbin
stop_daemon
rm -rf "$dir"
mkdir -p "$dir/conf/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/state/certs" "$dir/log" "$dir/bin/backend" "$dir/out"
chmod 0755 "$dir" "$dir/bin" "$dir/bin/backend"
chmod 0777 "$dir/out"

# The system's filters and helpers, plus our own backend folder.
for sub in filter daemon monitor notifier driver cgi-bin; do
    [ -e "/usr/lib/cups/$sub" ] && ln -s "/usr/lib/cups/$sub" "$dir/bin/$sub"
done
cat >"$dir/bin/backend/capture" <<'BACKEND'
#!/bin/sh
# Copies a job's bytes to <folder>/<queue>/job-<id>.prn, its title to
# job-<id>.title and the copies asked for to job-<id>.copies; the .prn file
# appears last, whole.
if [ $# -eq 0 ]; then
    echo 'direct capture "Unknown" "Sticker2 test capture"'
    exit 0
fi
umask 022
out=${DEVICE_URI#capture:}/${PRINTER:-unknown}
mkdir -p "$out"
tmp="$out/.job-$1.part"
if [ $# -ge 6 ]; then cat "$6" >"$tmp"; else cat >"$tmp"; fi || exit 1
printf '%s' "$4" >"$out/job-$1.copies"
printf '%s' "$3" >"$out/job-$1.title"
mv "$tmp" "$out/job-$1.prn"
BACKEND
# 0700: the backend runs as root and can write anywhere under the folder.
chmod 0700 "$dir/bin/backend/capture"
if [ -n "${STICKER2_BACKEND:-}" ]; then
    cp "$STICKER2_BACKEND" "$dir/bin/backend/sticker2"
    chmod 0755 "$dir/bin/backend/sticker2"
fi

cat >"$dir/conf/cups-files.conf" <<CONF
ServerRoot $dir/conf
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ServerBin $dir/bin
DataDir /usr/share/cups
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
FileDevice No
CONF
cat >"$dir/conf/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
MaxJobs 0
PreserveJobHistory No
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF

cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" >"$dir/log/stdout" 2>&1 &
echo $! >"$dir/cupsd.pid"

export CUPS_SERVER="$dir/cups.sock"
i=0
until lpstat -r 2>/dev/null | grep -q 'is running'; do
    i=$((i + 1))
    if [ $i -gt 200 ] || ! kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null; then
        echo "private cupsd did not start; see $dir/log" >&2
        cat "$dir/log/stdout" "$dir/log/error_log" >&2 2>/dev/null || true
        stop_daemon
        exit 1
    fi
    sleep 0.05
done

for q in Sticker2Raw Sticker2Other Sticker2Closed; do
    lpadmin -p "$q" -E -v "capture:$dir/out" -o printer-error-policy=abort-job
done
lpadmin -d Sticker2Raw
cupsreject Sticker2Closed
