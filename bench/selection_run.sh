#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The main window's "Encrypt" on 1,000 selected small files, password given
# once for the list, in a folder of 10,000 files, against kelvane-cli
# encrypting the same 1,000 files in one call. The window rebuilds both lists
# after every file, so the folder's size counts. Each runs RUNS times in
# turn on fresh copies; the best time counts, with the range beside it.
# Builds nothing.
#
#   bench/selection_run.sh [BIN_DIR]                     (default: build/bin)
#   FILES=10000 SELECTED=1000 SIZE=4096 RUNS=3 bench/selection_run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

# Absolute, since the command-line program runs from inside the work folder.
bin="$(realpath -m "${1:-build/bin}")"
files="${FILES:-10000}"
selected="${SELECTED:-1000}"
size="${SIZE:-4096}"
runs="${RUNS:-3}"
require_built "$bin" kelvane-cli kelvane_selection_time
require_gnu_time
make_work selection
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$work/original" "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The selected files sort first ("a-"), the rest of the folder after them:
# three plain files to one crypted, as folders in use hold both.
head -c "$size" /dev/urandom >"$work/one"
for i in $(seq -w 1 "$selected"); do cp "$work/one" "$work/original/a-$i.dat"; done
for i in $(seq -w 1 $((files - selected))); do
    if ((10#$i % 4 == 0)); then name="b-$i.dat.cry"; else name="b-$i.dat"; fi
    cp "$work/one" "$work/original/$name"
done

fresh_copy() { rm -rf "$work/files"; cp -r "$work/original" "$work/files"; }

cli=() win=()
for _ in $(seq "$runs"); do
    fresh_copy
    (cd "$work/files" && /usr/bin/time -f '%e' -o "$work/time" \
        "$bin/kelvane-cli" encrypt -f -q -p "$work/pw" a-*.dat)
    cli+=("$(cat "$work/time")")
    fresh_copy
    if ! t="$("$bin/kelvane_selection_time" "$work/files" "$selected" "$password" 2>"$work/log")" ||
        [ -e "$work/files/a-$(seq -w 1 "$selected" | head -1).dat" ] ||
        [ "$(find "$work/files" -name 'a-*.dat.cry' | wc -l)" -ne "$selected" ]; then
        cat "$work/log" >&2
        echo "the window's run failed" >&2
        exit 1
    fi
    win+=("$t")
done

t_cli="$(best "${cli[@]}")" t_win="$(best "${win[@]}")"
machine_line
printf '%s of %s files of %s bytes in /dev/shm, best of %s runs (range)\n' \
    "$selected" "$files" "$size" "$runs"
printf 'kelvane-cli encrypt, one call  %6.2f s (%s-%s)\n' "$t_cli" "$t_cli" "$(worst "${cli[@]}")"
printf 'window, Encrypt on selection   %6.2f s (%s-%s)  %.2fx the CLI\n' \
    "$t_win" "$t_win" "$(worst "${win[@]}")" "$(awk "BEGIN { printf \"%.2f\", $t_win / $t_cli }")"
