#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Encrypt All as a new user meets it, on the real program under Xvfb with a
# window manager: a right-click in the folder list, "Encrypt All", the
# warning's "Change password "expire" option" to switch to one password for
# the session, Yes to the recursion question, one password typed for the
# first file, then the whole tree of a few hundred files. Takes
# docs/images/encrypt-all.png mid-walk and checks the outcome: every plain
# file crypted, the link, the pipe and the folder outside untouched.
# Needs xvfb-run, openbox and xdotool. BUILD names another build folder
# than build/ to take the program from.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build="${BUILD:-build}"

cmake --build "$build" -j2 --target kelvane kelvane-grab >/dev/null

work="${TMPDIR:-/tmp}/kelvane-tryout"
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
tree="$work/Documents"
mkdir -p "$tree"/{Letters,Photos,Projects/src,Projects/notes,Videos} "$work/outside" \
    "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
make_file() { head -c "$2" /dev/urandom >"$tree/$1"; }
for i in $(seq -w 1 80); do make_file "Letters/letter-$i.txt" $((1000 + 37 * 10#$i)); done
for i in $(seq -w 1 40); do make_file "Photos/IMG_$i.JPG" $((200000 + 9000 * 10#$i)); done
for i in $(seq -w 1 120); do make_file "Projects/src/module$i.c" $((3000 + 11 * 10#$i)); done
for i in $(seq -w 1 50); do make_file "Projects/notes/note$i.md" 700; done
make_file Videos/holiday.mp4 $((320 << 20))
make_file budget.xls 52736
make_file .settings 300
make_file old-backup.zip.cry 80014
echo "not mine" >"$work/outside/private.txt"
ln -s "$work/outside" "$tree/Projects/elsewhere"
ln -s "$tree" "$tree/Projects/loop"
mkfifo "$tree/Projects/pipe"
plain_before=$(find "$tree" -type f ! -iname '*.cry' | wc -l)
echo "tree: $plain_before plain files in $(find "$tree" -mindepth 1 -type d | wc -l) folders"

unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
export PROGRAM="$root/$build/bin/kelvane" GRAB="$root/$build/bin/kelvane-grab"
export TREE="$tree" OUT="$root/docs/images/encrypt-all.png" PLAIN="$plain_before"

# The inner script expands its own variables, on the display xvfb-run opened.
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    set -eu
    openbox >/dev/null 2>&1 &
    sleep 1
    cd "$TREE"
    "$PROGRAM" & pid=$!
    find_window() { # NAME: waits for a visible window of that name
        for _ in $(seq 1 100); do
            w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1 || true)
            [ -n "$w" ] && { echo "$w"; return 0; }
            sleep 0.1
        done
        echo "no window \"$1\" appeared" >&2
        "$GRAB" "${OUT%.png}-failed.png" || true
        kill "$pid"
        exit 1
    }
    main=$(find_window "^Kelvane 95$")
    sleep 1
    # The folder list has the focus and its own folder highlighted: the
    # menu key, then "Encrypt All", the second item.
    xdotool key Menu
    sleep 0.5
    xdotool key Down Down Return
    prompt=$(find_window "^Confirmation$")
    sleep 0.3
    xdotool key Tab Tab space                      # Change password "expire" option
    prefs=$(find_window "^Preferences$")
    sleep 0.3
    xdotool mousemove --window "$prefs" 30 64 click 1  # One password for a session
    sleep 0.2
    xdotool mousemove --window "$prefs" 126 145 click 1  # Ok
    question=$(find_window "^Confirm$")
    sleep 0.3
    xdotool key Return                              # Yes: recurse
    dialog=$(find_window "^Encryption procedure$")
    sleep 0.3
    xdotool type --delay 30 "s3cret!"
    xdotool key Tab
    xdotool type --delay 30 "s3cret!"
    xdotool key Return
    # Mid-walk: the projects done, the film being encrypted. The walk works
    # in the folder it shows, and its files become visible only once their
    # batch is committed, so the working directory tells where it is.
    for _ in $(seq 1 600); do
        [ "$(readlink "/proc/$pid/cwd")" = "$TREE/Videos" ] && break
        sleep 0.02
    done
    sleep 0.2
    # The whole screen: with the frame of the window manager, the geometry
    # xdotool reports is off by the title bar.
    "$GRAB" "$OUT"
    for _ in $(seq 1 600); do
        [ "$(find "$TREE" -type f ! -iname "*.cry" | wc -l)" -eq 0 ] && break
        sleep 0.1
    done
    sleep 1
    xdotool mousemove --window "$main" 15 10 click 1
    sleep 0.5
    xdotool key x
    wait "$pid"
'
plain_after=$(find "$tree" -type f ! -iname '*.cry' | wc -l)
crypted=$(find "$tree" -type f -name '*.cry' | wc -l)
echo "after: $plain_after plain, $crypted crypted (expected 0 and $((plain_before + 1)))"
[ "$plain_after" -eq 0 ] && [ "$crypted" -eq $((plain_before + 1)) ]
[ "$(cat "$work/outside/private.txt")" = "not mine" ] && [ -L "$tree/Projects/elsewhere" ] &&
    [ -p "$tree/Projects/pipe" ] && [ ! -e "$work/outside/private.txt.cry" ]
echo "links, pipe and the folder outside untouched; wrote docs/images/encrypt-all.png"
