#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Many small files on a real disk and on tmpfs: kelvane-cli encrypt -r and
# decrypt -r (-j 1 and -j JOBS) against ccrypt -r and 7z a, over FOLDERS
# folders of FILES files of SIZE_KIB KiB (4) each. The disk is a journaled ext4 image
# (mkfs.ext4 defaults) the script makes and mounts itself, which needs root;
# without root that part is skipped with a message. The tools take turns
# within each round, so a change in the machine's load falls on all of them.
# Each command runs on a fresh copy of the tree, written out to the disk
# before the clock starts; the best of RUNS counts. ccrypt rewrites each file
# in place and flushes nothing, so its time is also given with the closing
# `sync` that makes its work durable. Builds nothing.
#
#   bench/many_files.sh [BIN_DIR]                           (default: build/bin)
#   FOLDERS=100 FILES=100 JOBS=2 RUNS=3 bench/many_files.sh (the defaults)
#   SIZE_KIB=1 bench/many_files.sh                          (files of 1 KiB; default 4)
#   PLACES="tmpfs ext4" bench/many_files.sh                 (the default places)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

bin="$(realpath -m "${1:-build/bin}")"
folders="${FOLDERS:-100}" files="${FILES:-100}" jobs="${JOBS:-2}" runs="${RUNS:-3}"
kib="${SIZE_KIB:-4}"
places="${PLACES:-tmpfs ext4}"
total=$((folders * files))
require_built "$bin" kelvane-cli
for tool in ccrypt 7z; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (apt-get install ccrypt p7zip-full)" >&2; exit 2; }
done
make_work many
image="" mount_point=""
cleanup() {
    if [ -n "$mount_point" ] && mountpoint -q "$mount_point"; then umount "$mount_point"; fi
    rm -rf "$work"
    if [ -n "$image" ]; then rm -f "$image"; fi
}
trap cleanup EXIT

mkdir "$work/original"
for d in $(seq -w 1 "$folders"); do
    mkdir "$work/original/folder$d"
    head -c $((kib * 1024 * files)) /dev/urandom |
        split -b $((kib * 1024)) -d -a 5 --additional-suffix=.dat - "$work/original/folder$d/file"
done
# The same tree crypted by each tool, for the decryptions.
cp -a "$work/original" "$work/crypted"
"$bin/kelvane-cli" encrypt -r -q -p "$work/pw" "$work/crypted" >/dev/null
cp -a "$work/original" "$work/ccrypted"
ccrypt -r -e -K "$password" "$work/ccrypted"

# A journaled ext4 image of its own, so the figures do not depend on how this
# machine's own disks are set up. Not in /dev/shm: the image's writes must
# reach a block device's page cache and journal, as a disk's do.
make_ext4() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "ext4: skipped, making and mounting a loop image needs root"
        return 1
    fi
    image="$(mktemp /var/tmp/kelvane-many.XXXXXX.img)"
    truncate -s 1G "$image"
    mkfs.ext4 -q -F "$image"
    mount_point="$work/ext4"
    mkdir "$mount_point"
    mount -o loop "$image" "$mount_point"
}

# fresh TREE : the place's copy of the plain (or crypted) tree, on disk.
fresh() {
    rm -rf "$place_dir/tree" "$place_dir/archive.7z"
    cp -a "$work/$1" "$place_dir/tree"
    sync -f "$place_dir"
}

# timed SECONDS_FILE COMMAND... : runs in the place's tree; prints seconds.
# To the millisecond: a run over small files takes a few hundredths of a
# second, which GNU time's hundredths cannot tell apart.
timed() {
    (
        cd "$place_dir/tree" && start=$EPOCHREALTIME && "$@" >/dev/null 2>"$work/log" &&
            awk "BEGIN { printf \"%.3f\", $EPOCHREALTIME - $start }" >"$work/time"
    ) || { cat "$work/log" >&2; echo "failed: $*" >&2; exit 1; }
    cat "$work/time"
}

# timed_then_sync COMMAND... : the command and the flush that makes it durable.
timed_then_sync() {
    local start end
    start="$(date +%s.%N)"
    (cd "$place_dir/tree" && "$@" >/dev/null 2>"$work/log" && sync -f .) ||
        { cat "$work/log" >&2; echo "failed: $*" >&2; exit 1; }
    end="$(date +%s.%N)"
    awk "BEGIN { printf \"%.3f\", $end - $start }"
}

expect() {
    local plain crypted
    plain="$(find "$place_dir/tree" -type f ! -name '*.cry' ! -name '*.cpt' | wc -l)"
    crypted="$(find "$place_dir/tree" -type f \( -name '*.cry' -o -name '*.cpt' \) | wc -l)"
    if { [ "$1" = crypted ] && [ "$crypted" -ne "$total" ]; } ||
        { [ "$1" = plain ] && [ "$plain" -ne "$total" ]; }; then
        echo "$2 left $plain plain and $crypted crypted files" >&2
        exit 1
    fi
}

declare -A seconds
measure() {
    local name="$1" kind="$2" tree="$3" t
    shift 3
    fresh "$tree"
    if [ "$kind" = sync ]; then t="$(timed_then_sync "$@")"; else t="$(timed "$@")"; fi
    seconds[$name]+="$t "
}

bench_place() {
    local place="$1" round name
    seconds=()
    for round in $(seq "$runs"); do
        others_start
        measure "kelvane-cli encrypt -r -j 1" time original "$bin/kelvane-cli" encrypt -r -q -j 1 -p "$work/pw" .
        expect crypted kelvane-cli
        measure "kelvane-cli encrypt -r -j $jobs" time original "$bin/kelvane-cli" encrypt -r -q -j "$jobs" -p "$work/pw" .
        expect crypted kelvane-cli
        measure "ccrypt -r -e" time original ccrypt -r -e -K "$password" .
        expect crypted ccrypt
        measure "ccrypt -r -e, then sync" sync original ccrypt -r -e -K "$password" .
        measure "7z a -p" time original 7z a -bd -y -p"$password" ../archive.7z .
        measure "kelvane-cli decrypt -r -j 1" time crypted "$bin/kelvane-cli" decrypt -r -q -j 1 -p "$work/pw" .
        expect plain kelvane-cli
        measure "kelvane-cli decrypt -r -j $jobs" time crypted "$bin/kelvane-cli" decrypt -r -q -j "$jobs" -p "$work/pw" .
        expect plain kelvane-cli
        measure "ccrypt -r -d" time ccrypted ccrypt -r -d -K "$password" .
        expect plain ccrypt
        # Another program busy meanwhile made the round a contended one.
        echo "  round $round of $runs done (load average $(cut -d' ' -f1-3 /proc/loadavg)," \
            "other programs' processor time $(others_seconds) s)" >&2
    done
    printf '\n%s: %s files of %s KiB in %s folders, best of %s interleaved rounds\n' \
        "$place" "$total" "$kib" "$folders" "$runs"
    for name in "kelvane-cli encrypt -r -j 1" "kelvane-cli encrypt -r -j $jobs" "ccrypt -r -e" \
        "ccrypt -r -e, then sync" "7z a -p" "kelvane-cli decrypt -r -j 1" \
        "kelvane-cli decrypt -r -j $jobs" "ccrypt -r -d"; do
        # shellcheck disable=SC2086 # the times are words on purpose
        printf '  %-32s %7.3f s  %7.0f files/s   (all: %s)\n' "$name" "$(best ${seconds[$name]})" \
            "$(awk "BEGIN { print $total / $(best ${seconds[$name]}) }")" "${seconds[$name]% }"
    done
    ratio() {
        # shellcheck disable=SC2086
        awk "BEGIN { printf \"%.2f\", $(best ${seconds[$1]}) / $(best ${seconds[$2]}) }"
    }
    echo "  Closing note ($place): ccrypt's time over kelvane-cli's, above 1 means kelvane-cli is faster"
    printf '    encrypt: -j 1 %sx, -j %s %sx (against ccrypt then sync: %sx); 7z a over -j %s: %sx\n' \
        "$(ratio "ccrypt -r -e" "kelvane-cli encrypt -r -j 1")" "$jobs" \
        "$(ratio "ccrypt -r -e" "kelvane-cli encrypt -r -j $jobs")" \
        "$(ratio "ccrypt -r -e, then sync" "kelvane-cli encrypt -r -j $jobs")" "$jobs" \
        "$(ratio "7z a -p" "kelvane-cli encrypt -r -j $jobs")"
    printf '    decrypt: -j 1 %sx, -j %s %sx\n' \
        "$(ratio "ccrypt -r -d" "kelvane-cli decrypt -r -j 1")" "$jobs" \
        "$(ratio "ccrypt -r -d" "kelvane-cli decrypt -r -j $jobs")"
}

# The figures depend on the processor: its model goes beside them.
echo "at the start: $(machine_line)"
for place in $places; do
    case "$place" in
    tmpfs)
        place_dir="$work/tmpfs" && mkdir -p "$place_dir"
        bench_place "tmpfs (/dev/shm)"
        ;;
    ext4)
        if make_ext4; then
            place_dir="$mount_point"
            bench_place "journaled ext4 (a loop image, mkfs.ext4 defaults)"
        fi
        ;;
    *) echo "unknown place $place" >&2; exit 2 ;;
    esac
done
echo "at the end: $(machine_line)"
