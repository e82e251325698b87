#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes docs/images/about-box.png and docs/images/help-window.png: the
# program under Xvfb with openbox as window manager, so the pictures show
# the windows with their frames as a user sees them. Needs xvfb-run,
# xdotool, xwininfo, xprop and openbox.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

cmake --preset default >/dev/null
cmake --build --preset default --target kelvane kelvane-grab >/dev/null

work="${TMPDIR:-/tmp}/kelvane-screenshot-help"
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Documents" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
head -c 18944 /dev/urandom >"$work/Documents/report.doc"
head -c 80014 /dev/urandom >"$work/Documents/contract.pdf.cry"

unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
export PROGRAM="$root/build/bin/kelvane" GRAB="$root/build/bin/kelvane-grab"
export SAMPLE="$work/Documents" IMAGES="$root/docs/images"

# The inner script expands its own variables, on the display xvfb-run opened.
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -eu
    openbox & wm=$!
    sleep 1
    wait_for() {
        for _ in $(seq 1 100); do
            found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
            [ -n "$found" ] && { echo "$found"; return 0; }
            sleep 0.1
        done
        echo "no window $1" >&2
        return 1
    }
    # The window with the frame openbox puts around it.
    grab() {
        sleep 1
        # xwininfo, not xdotool, whose position is off under a reparenting
        # window manager.
        info=$(xwininfo -id "$1")
        X=$(awk "/Absolute upper-left X/ {print \$4}" <<<"$info")
        Y=$(awk "/Absolute upper-left Y/ {print \$4}" <<<"$info")
        WIDTH=$(awk "/Width:/ {print \$2}" <<<"$info")
        HEIGHT=$(awk "/Height:/ {print \$2}" <<<"$info")
        extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed "s/.*= //; s/,//g")
        read -r left right top bottom <<<"${extents:-0 0 0 0}"
        "$GRAB" "$2" $((X - left)) $((Y - top)) $((WIDTH + left + right)) $((HEIGHT + top + bottom))
    }
    cd "$SAMPLE"
    "$PROGRAM" & pid=$!
    main=$(wait_for "^Kelvane 95$")
    sleep 1

    xdotool key --window "$main" F1
    help=$(wait_for "^Kelvane 95 Help$")
    xdotool windowsize "$help" 640 520
    grab "$help" "$IMAGES/help-window.png"
    xdotool windowclose "$help" || xdotool windowkill "$help"

    xdotool windowactivate --sync "$main"
    xdotool key alt+h
    sleep 0.5
    xdotool key a
    about=$(wait_for "^About Kelvane95$")
    grab "$about" "$IMAGES/about-box.png"
    xdotool key Return
    sleep 0.5
    xdotool windowactivate --sync "$main"
    xdotool key alt+f
    sleep 0.5
    xdotool key x
    wait "$pid"
    kill "$wm"
'
echo "wrote docs/images/about-box.png and docs/images/help-window.png"
