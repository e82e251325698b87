#!/usr/bin/env bash
# Makes docs/images/main-window.png: the program started under Xvfb on a
# sample folder of plain and crypted files. Needs xvfb-run and xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

cmake --preset default >/dev/null
cmake --build --preset default --target kelvane kelvane-grab >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sample="$work/Documents"
mkdir -p "$sample"/{Letters,Photos,Projects} "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
make_file() { head -c "$2" /dev/urandom >"$sample/$1"; }
make_file budget-2026.xls 52736
make_file notes.txt 1234
make_file report.doc 18944
make_file slides.ppt 301568
make_file contract.pdf.cry 80014
make_file holiday.jpg.cry 1048590
make_file tax-return-2025.pdf.cry 40974
chmod a-w "$sample/report.doc"
touch -d "2026-11-20 09:30 UTC" "$sample"/*

unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
export PROGRAM="$root/build/bin/kelvane" GRAB="$root/build/bin/kelvane-grab"
export SAMPLE="$sample" OUT="$root/docs/images/main-window.png"

xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    set -eu
    cd "$SAMPLE"
    "$PROGRAM" & pid=$!
    window=""
    for _ in $(seq 1 100); do
        window=$(xdotool search --onlyvisible --name "^Kelvane 95$" 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "the window did not appear" >&2; kill "$pid"; exit 1; }
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    "$GRAB" "$OUT" "$X" "$Y" "$WIDTH" "$HEIGHT"
    xdotool mousemove --window "$window" 15 10 click 1
    sleep 0.5
    xdotool key x
    wait "$pid"
'
echo "wrote docs/images/main-window.png"
