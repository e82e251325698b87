#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Many files through kelvane-cli at once: FILES files of SIZE_MIB each in
# /dev/shm, encrypted with -j 1 and with -j JOBS, best of RUNS each, then the
# speed-up. The engine already spreads one file over the processors, so the
# gain from running files side by side is what is left over: the serial
# parts of each file (reading, the checksum, writing) overlapping.
#
#   bench/cli_parallel.sh [BIN_DIR]          (default: build/bin)
#   FILES=8 SIZE_MIB=128 JOBS=2 RUNS=3 bench/cli_parallel.sh   (the defaults)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

bin="${1:-build/bin}"
files="${FILES:-8}" size_mib="${SIZE_MIB:-128}" jobs="${JOBS:-2}" runs="${RUNS:-3}"
require_built "$bin" kelvane-cli
require_gnu_time
make_work parallel

names=()
for i in $(seq "$files"); do
    head -c "$((size_mib << 20))" /dev/urandom >"$work/f$i"
    names+=("$work/f$i")
done

# run JOBS : one encryption of every file, sources kept; prints the wall
# seconds and the processor seconds (user + system) it took.
run() {
    rm -f "$work"/*.cry
    /usr/bin/time -f '%e %U %S' -o "$work/time" \
        "$bin/kelvane-cli" encrypt -k -q -j "$1" -p "$work/pw" "${names[@]}"
    awk '{ printf "%.2f %.2f\n", $1, $2 + $3 }' "$work/time"
}

one=() many=() cpu_one=() cpu_many=()
for _ in $(seq "$runs"); do
    read -r t c < <(run 1)
    one+=("$t") cpu_one+=("$c")
    read -r t c < <(run "$jobs")
    many+=("$t") cpu_many+=("$c")
done
"$bin/kelvane-cli" verify -q -j "$jobs" -p "$work/pw" "$work"/*.cry

t1="$(best "${one[@]}")" tn="$(best "${many[@]}")"
total=$((files * size_mib))
machine_line
printf '%s files of %s MiB in /dev/shm, %s processors, best of %s runs (range)\n' \
    "$files" "$size_mib" "$(nproc)" "$runs"
# The processors kept busy on average: near the machine's count, running
# files side by side has nothing left to gain.
busy() { awk "BEGIN { printf \"%.2f\", $(best "${@:2}") / $1 }"; }
printf -- '-j 1   %6.2f s (%s-%s)  %6.0f MiB/s  %s processors busy\n' "$t1" "$t1" \
    "$(worst "${one[@]}")" "$(awk "BEGIN { print $total / $t1 }")" "$(busy "$t1" "${cpu_one[@]}")"
printf -- '-j %-3s %6.2f s (%s-%s)  %6.0f MiB/s  %s processors busy\n' "$jobs" "$tn" "$tn" \
    "$(worst "${many[@]}")" "$(awk "BEGIN { print $total / $tn }")" "$(busy "$tn" "${cpu_many[@]}")"
printf 'speed-up %.2fx\n' "$(awk "BEGIN { print $t1 / $tn }")"
