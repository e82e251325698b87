#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The right-click entries as a user meets them, in Thunar and PCManFM-Qt
# under Xvfb with openbox: the build is installed into a private prefix
# that XDG_DATA_HOME and XDG_DATA_DIRS point at, with a scratch HOME and
# XDG_CONFIG_HOME so that nothing of the machine's own configuration
# changes. In each file manager a plain file is encrypted through "Encrypt
# with Kelvane 95", then three files selected together, which must give one
# password dialog for all three. Screenshots go to /work/shots/fm/ (or
# SHOTS). Needs xvfb-run, openbox, xdotool, dbus-launch (dbus-x11), thunar
# and pcmanfm-qt. BUILD names the build folder (default build-ci).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build="${BUILD:-build-ci}"
shots="${SHOTS:-/work/shots/fm}"
for program in xvfb-run openbox xdotool dbus-launch thunar pcmanfm-qt; do
    command -v "$program" >/dev/null ||
        { echo "needs $program (apt-get install xvfb openbox xdotool dbus-x11 thunar pcmanfm-qt)" >&2; exit 1; }
done
cmake --build "$build" -j2 --target kelvane kelvane-grab >/dev/null

work="${TMPDIR:-/tmp}/kelvane-fm-tryout"
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work"/{home,config,runtime} "$shots"
chmod 700 "$work/runtime"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
update-mime-database "$work/prefix/share/mime" >/dev/null
update-desktop-database "$work/prefix/share/applications"

unset QT_QPA_PLATFORM
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
export XDG_DATA_HOME="$work/prefix/share" XDG_DATA_DIRS="$work/prefix/share:/usr/share"
export PATH="$work/prefix/bin:$PATH" GRAB="$root/$build/bin/kelvane-grab" SHOTS="$shots"

failures=0
# try FILE_MANAGER OPEN_KEY KEYS_ONE KEYS_THREE: one file, then three
# together, in FILE_MANAGER; OPEN_KEY opens the context menu, and the keys
# lead from there to the entry for one file and for three.
try() {
    local manager=$1 open=$2 one="$work/$1-one" three="$work/$1-three"
    mkdir -p "$one" "$three"
    echo "a letter" >"$one/letter.txt"
    for name in budget.ods photo.jpg notes.md; do head -c 5000 /dev/urandom >"$three/$name"; done
    export MANAGER=$manager OPEN=$open KEYS_ONE=$3 KEYS_THREE=$4 ONE=$one THREE=$three
    # The inner script expands its own variables, on the display xvfb-run opened.
    # shellcheck disable=SC2016
    xvfb-run -a -s "-screen 0 1024x768x24" dbus-launch --exit-with-session bash -c '
        set -u
        openbox >/dev/null 2>&1 &
        sleep 1
        wait_for() { # NAME: a visible window of that name, or nothing after 10 s
            for _ in $(seq 1 100); do
                w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1 || true)
                [ -n "$w" ] && { echo "$w"; return 0; }
                sleep 0.1
            done
            return 1
        }
        run() { # FOLDER SHOT KEYS: selects every file of FOLDER and picks the entry
            "$MANAGER" "$1" >/dev/null 2>&1 &
            manager=$!
            sleep 4
            xdotool key ctrl+a
            sleep 0.5
            xdotool key "$OPEN"
            sleep 1
            # shellcheck disable=SC2086
            xdotool key $3
            sleep 0.5
            "$GRAB" "$SHOTS/$MANAGER-$2-menu.png" 0 0 1024 768
            xdotool key Return
            if ! wait_for "^Encryption procedure$" >/dev/null; then
                "$GRAB" "$SHOTS/$MANAGER-$2-failed.png" 0 0 1024 768
                kill "$manager"
                return 1
            fi
            sleep 0.5
            "$GRAB" "$SHOTS/$MANAGER-$2-password.png" 0 0 1024 768
            xdotool type --delay 30 "s3cret!"
            xdotool key Tab
            xdotool type --delay 30 "s3cret!"
            xdotool key Return
            sleep 3
            # One dialog for the whole selection: none is asking any more.
            if wait_for "^Encryption procedure$" >/dev/null; then
                "$GRAB" "$SHOTS/$MANAGER-$2-second-dialog.png" 0 0 1024 768
                echo "$MANAGER: a second password dialog" >&2
            fi
            "$GRAB" "$SHOTS/$MANAGER-$2-done.png" 0 0 1024 768
            kill "$manager" 2>/dev/null
            return 0
        }
        run "$ONE" one "$KEYS_ONE"
        run "$THREE" three "$KEYS_THREE"
    ' || true
    if [ -f "$one/letter.txt.cry" ] && [ ! -e "$one/letter.txt" ]; then
        echo "$manager: one file encrypted"
    else
        echo "$manager: the file was not encrypted" >&2
        failures=$((failures + 1))
    fi
    if [ "$(find "$three" -name '*.cry' | wc -l)" -eq 3 ] && [ "$(find "$three" -type f | wc -l)" -eq 3 ]; then
        echo "$manager: three files encrypted with one password"
    else
        echo "$manager: of three files: $(cd "$three" && echo *)" >&2
        failures=$((failures + 1))
    fi
}

# Thunar: "Send To" opens with its mnemonic, whatever the applications before
# it; the entry is the second item in it.
try thunar shift+F10 "s Down" "s Down"
# PCManFM-Qt: the file-manager actions, third from the menu's end.
try pcmanfm-qt Menu "Up Up Up" "Up Up Up"
echo "screenshots in $shots"
[ "$failures" -eq 0 ]
