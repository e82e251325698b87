#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the pictures in docs/images/: the main window on a sample folder of
# plain and crypted files, the password dialog of an encryption, and the
# progress panel of a large file halfway. The program runs under Xvfb with
# a window manager; each picture is the main window's client area. Needs
# xvfb-run, xdotool, xprop and openbox.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

cmake --preset default >/dev/null
cmake --build --preset default --target kelvane kelvane-grab >/dev/null

# A fixed place, so the folder list in the pictures is the same every time.
work="${TMPDIR:-/tmp}/kelvane-screenshot"
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
sample="$work/Documents"
run="$work/Videos"
mkdir -p "$sample"/{Letters,Photos,Projects} "$run" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
make_file() { head -c "$2" /dev/urandom >"$1"; }
make_file "$sample/budget-2026.xls" 52736
make_file "$sample/notes.txt" 1234
make_file "$sample/report.doc" 18944
make_file "$sample/slides.ppt" 301568
make_file "$sample/contract.pdf.cry" 80014
make_file "$sample/holiday.jpg.cry" 1048590
make_file "$sample/tax-return-2025.pdf.cry" 40974
chmod a-w "$sample/report.doc"
make_file "$run/budget.xls" 5000
make_file "$run/notes.txt" 6
# Large enough to be caught halfway; its blocks are read like any others.
truncate -s 1900000000 "$run/holiday-video.avi"
touch -d "2026-11-20 09:30 UTC" "$sample"/* "$run"/*

unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
export PROGRAM="$root/build/bin/kelvane" GRAB="$root/build/bin/kelvane-grab"
export SAMPLE="$sample" RUN="$run" IMAGES="$root/docs/images"

# The inner script expands its own variables, on the display xvfb-run opened.
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    set -eu
    openbox --sm-disable >/dev/null 2>&1 & wm=$!
    trap "kill $wm 2>/dev/null" EXIT
    for _ in $(seq 1 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.1
    done

    # Starts the program in $1 and sets $window and $pid.
    start() {
        cd "$1"
        "$PROGRAM" & pid=$!
        window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Kelvane 95$" | head -n 1)
        [ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
        sleep 1
    }
    # The client area where it is on the screen, the frame left out.
    grab() {
        info=$(xwininfo -id "$window")
        field() { echo "$info" | sed -n "s/^ *$1: *//p"; }
        "$GRAB" "$IMAGES/$1" "$(field "Absolute upper-left X")" \
            "$(field "Absolute upper-left Y")" "$(field Width)" "$(field Height)"
        echo "wrote docs/images/$1"
    }
    quit() {
        xdotool windowactivate --sync "$window" key alt+f x
        wait "$pid"
    }

    start "$SAMPLE"
    grab main-window.png
    quit

    start "$RUN"
    # The second row of "Available for encryption": holiday-video.avi.
    xdotool windowactivate --sync "$window"
    xdotool mousemove --window "$window" 260 94 click --repeat 2 --delay 80 1
    dialog=$(timeout 30 xdotool search --sync --onlyvisible --name "^Encryption procedure$" | head -n 1)
    xdotool windowactivate --sync "$dialog"
    xdotool type --delay 30 "secret1"
    xdotool key Tab
    xdotool type --delay 30 "secret1"
    sleep 0.5
    grab password-dialog.png
    xdotool key Return
    sleep 3.5
    grab progress-panel.png
    for _ in $(seq 1 600); do
        [ -e "$RUN/holiday-video.avi" ] || break
        sleep 0.1
    done
    quit
'
