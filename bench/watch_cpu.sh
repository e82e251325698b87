#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The processor time the program takes while it watches a crypted file that
# is open in its application. Starts `kelvane /open FILE.cry` on a virtual X
# display with the tests' handler program as the file type's application
# (holding the file open until released), answers the password dialog, then
# reads the program's user and system time from /proc over SECONDS seconds.
#   bench/watch_cpu.sh [BUILD_DIR] [SECONDS]
set -euo pipefail

build="$(realpath "${1:-build}")"
seconds="${2:-10}"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=bench/common.sh
. "$here/common.sh"
require_built "$build/bin" kelvane kelvane-cli shell_handler
make_work watch

unset XDG_DATA_DIRS
data="$work/data" config="$work/config"
mkdir -p "$data/applications" "$data/mime/packages" "$config" "$work/sys" "$work/log" "$work/files"
cat >"$data/applications/kelvane-test-handler.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=Kelvane test handler
Exec=$build/bin/shell_handler %f
MimeType=application/x-kelvane-test;
NoDisplay=true
ENTRY
cat >"$data/mime/packages/kelvane-test.xml" <<'XML'
<?xml version="1.0"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
 <mime-type type="application/x-kelvane-test"><glob pattern="*.kvtest"/></mime-type>
</mime-info>
XML
printf '[Default Applications]\napplication/x-kelvane-test=kelvane-test-handler.desktop\n' \
    >"$config/mimeapps.list"
update-mime-database "$data/mime" >/dev/null 2>&1
mkfifo "$work/log/ready" "$work/log/release"

printf 'watched text\n' >"$work/files/doc.kvtest"
"$build/bin/kelvane-cli" encrypt -q -p "$work/pw" "$work/files/doc.kvtest"

export XDG_DATA_HOME="$data" XDG_DATA_DIRS="$work/sys" XDG_CONFIG_HOME="$config"
export KELVANE_HANDLER_LOG="$work/log" KELVANE_HANDLER_MODE=hold
export PROGRAM="$build/bin/kelvane" FILE="$work/files/doc.kvtest.cry" PASSWORD="$password"
export SECONDS_WATCHED="$seconds" LOG="$work/log"
unset QT_QPA_PLATFORM
# The inner script expands its own variables, on the display xvfb-run opened.
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -u
    exec 3<>"$LOG/ready"   # the handler says here that it holds the file
    "$PROGRAM" /open "$FILE" & pid=$!
    dialog=$(timeout 30 xdotool search --sync --onlyvisible --name "^Decryption procedure$" | head -n 1)
    xdotool windowfocus --sync "$dialog"
    xdotool type "$PASSWORD"
    xdotool key Return
    read -r -n 1 -t 30 held <&3 || { echo "the handler never held the file" >&2; kill $pid; exit 1; }
    ticks() { awk "{print \$14 + \$15}" "/proc/$pid/stat"; }
    hz=$(getconf CLK_TCK)
    before=$(ticks)
    sleep "$SECONDS_WATCHED"
    after=$(ticks)
    machine_line
    awk -v t=$((after - before)) -v hz="$hz" -v s="$SECONDS_WATCHED" \
        "BEGIN { printf \"watching: %.2f%% of one core (%d ticks in %d s)\\n\", 100 * t / hz / s, t, s }"
    printf r >"$LOG/release"   # the application ends; the file is encrypted again
    dialog=$(timeout 30 xdotool search --sync --onlyvisible --name "^Encryption procedure$" | head -n 1)
    xdotool windowfocus --sync "$dialog"
    xdotool type "$PASSWORD"
    xdotool key Tab
    xdotool type "$PASSWORD"
    xdotool key Return
    timeout 30 tail --pid=$pid -f /dev/null || { echo "the program did not end" >&2; kill $pid; exit 1; }
'
{ [ -f "$work/files/doc.kvtest.cry" ] && [ ! -e "$work/files/doc.kvtest" ]; } ||
    { echo "the file was not encrypted again" >&2; exit 1; }
echo "the file was encrypted again after the application ended"
