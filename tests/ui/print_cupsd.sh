#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# "kelvane /print FILE.cry" against a real CUPS scheduler: a private cupsd
# (its own configuration, socket and spool, a file printer as the default
# destination) receives the plain bytes from `lp`, and the file is crypted
# again once `lp` has handed them over. The password dialogs are answered by
# xdotool on a virtual display. Skips (77) where cupsd, lp, lpadmin,
# xvfb-run or xdotool is missing, or the scheduler can't be started here.
#   print_cupsd.sh path/to/kelvane path/to/kelvane-cli
set -euo pipefail

program=$(realpath "$1")
cli=$(realpath "$2")
for tool in cupsd lp lpadmin lpstat xvfb-run xdotool; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
cups="$work/cups"
cleanup() {
    # The scheduler writes its cache as it ends: let it end first.
    if [ -n "${scheduler:-}" ]; then
        kill "$scheduler" 2>/dev/null || true
        wait "$scheduler" 2>/dev/null || true
    fi
    rm -rf "$work" || true
}
trap cleanup EXIT
mkdir -p "$cups"/{etc/ppd,spool/tmp,cache,state,log} "$work/config" "$work/runtime" "$work/files"
chmod 700 "$work/runtime"
chmod 1777 "$cups/spool/tmp"
cat >"$cups/etc/cupsd.conf" <<CONF
Listen $cups/cups.sock
LogLevel info
WebInterface No
Browsing Off
PreserveJobFiles Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
CONF
cat >"$cups/etc/cups-files.conf" <<CONF
ServerRoot $cups/etc
RequestRoot $cups/spool
TempDir $cups/spool/tmp
CacheDir $cups/cache
StateDir $cups/state
ErrorLog $cups/log/error_log
AccessLog $cups/log/access_log
PageLog $cups/log/page_log
FileDevice Yes
Sandboxing Relaxed
CONF
cupsd -f -c "$cups/etc/cupsd.conf" -s "$cups/etc/cups-files.conf" >"$cups/log/stdout" 2>&1 &
scheduler=$!
export CUPS_SERVER="$cups/cups.sock" PRINTER=kelvane-test
# Ready when it answers; gone when it could not start here.
ready=no
for _ in $(seq 1 100); do
    lpstat -r 2>/dev/null | grep -q "is running" && { ready=yes; break; }
    kill -0 "$scheduler" 2>/dev/null || break
    sleep 0.1
done
[ "$ready" = yes ] || { echo "skipped: cupsd did not start here"; cat "$cups/log/stdout"; exit 77; }
lpadmin -p kelvane-test -E -v "file://$work/printed" -m raw 2>/dev/null ||
    { echo "skipped: no file printer allowed here"; exit 77; }

printf 'secret1\n' >"$work/pw"
printf 'invoice 2026-17: amount due 1,234.00\n' >"$work/files/invoice.txt"
"$cli" encrypt -q -p "$work/pw" "$work/files/invoice.txt"

unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" XDG_STATE_HOME="$work/state" PROGRAM="$program"
export FILE="$work/files/invoice.txt.cry"
# The inner script expands its own variables, on the display xvfb-run opened.
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -u
    # A search may meet a window that closes while it looks and give up:
    # look again.
    find_window() {
        local found=""
        for _ in 1 2 3 4 5; do
            found=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1)
            [ -n "$found" ] && break
        done
        echo "$found"
    }
    type_into() {
        local dialog
        dialog=$(find_window "^$1\$" | head -n 1)
        [ -n "$dialog" ] || { echo "no \"$1\" dialog" >&2; return 1; }
        xdotool windowfocus --sync "$dialog"
        xdotool type secret1
        [ "$2" = twice ] && { xdotool key Tab; xdotool type secret1; }
        xdotool key Return
    }
    "$PROGRAM" /print "$FILE" & pid=$!
    type_into "Decryption procedure" once || { kill $pid; exit 1; }
    type_into "Encryption procedure" twice || { kill $pid; exit 1; }
    timeout 30 tail --pid=$pid -f /dev/null || { echo "kelvane did not end" >&2; kill $pid; exit 1; }
    wait $pid
'
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
{ [ -f "$work/files/invoice.txt.cry" ] && [ ! -e "$work/files/invoice.txt" ]; } ||
    fail "the file was not crypted again after printing"
lpstat -W completed -o | grep -q "^kelvane-test-1 " || fail "cupsd has no completed job"
cmp -s "$cups/spool/d00001-001" <(printf 'invoice 2026-17: amount due 1,234.00\n') ||
    fail "the spooled job does not hold the plain text"
echo "printed through cupsd: the job holds the plain text, the file is crypted again"
