#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kelvane-cli convert (a .cry to an age file) against kelvane-cli decrypt of
# the same .cry: the conversion does all the decryption does, plus the age
# payload's ChaCha20-Poly1305, and should run at no less than 0.8 of its
# speed. Also the peak resident memory of each. Builds nothing.
#
# Both run RUNS times in turn and the best time counts, range beside it. The
# conversion is to a recipient: a passphrase would add its scrypt (about a
# second on purpose), which is no part of the streaming.
#
#   bench/convert_run.sh [BIN_DIR]       (default: build/bin)
#   SIZE_MIB=256 RUNS=5 bench/convert_run.sh    (defaults: 512 and 3)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

bin="${1:-build/bin}"
size_mib="${SIZE_MIB:-512}"
require_built "$bin" kelvane-cli
require_gnu_time
command -v age-keygen >/dev/null || { echo "age-keygen is missing (apt-get install age)" >&2; exit 2; }
make_work convert

head -c "$((size_mib << 20))" /dev/urandom >"$work/plain"
"$bin/kelvane-cli" encrypt -k -q -p "$work/pw" "$work/plain"
age-keygen -o "$work/key" 2>/dev/null
recipient="$(age-keygen -y "$work/key")"

# measure COMMAND... : prints "seconds peak-KiB cpu-seconds". The processor
# time is shown too: on a shared machine it is the steadier of the two.
measure() {
    /usr/bin/time -f '%e %M %U %S' -o "$work/time" "$@"
    awk '{ printf "%s %s %.2f\n", $1, $2, $3 + $4 }' "$work/time"
}

runs="${RUNS:-3}"
dec=() con=() c_dec=() c_con=() m_dec=0 m_con=0
for _ in $(seq "$runs"); do
    rm -f "$work/back"
    read -r t m c < <(measure "$bin/kelvane-cli" decrypt -k -q -p "$work/pw" -o "$work/back" \
        "$work/plain.cry")
    dec+=("$t") && c_dec+=("$c") && m_dec=$((m > m_dec ? m : m_dec))
    rm -f "$work/back"
    rm -f "$work/plain.age"
    read -r t m c < <(measure "$bin/kelvane-cli" convert -k -q -p "$work/pw" \
        --recipient "$recipient" "$work/plain.cry")
    con+=("$t") && c_con+=("$c") && m_con=$((m > m_con ? m : m_con))
done
if command -v age >/dev/null; then
    age -d -i "$work/key" "$work/plain.age" | cmp -s - "$work/plain" ||
        { echo "the age file does not open to the original" >&2; exit 1; }
fi

calc() { awk "BEGIN { printf \"$1\", $2 }"; }
t_dec="$(best "${dec[@]}")" t_con="$(best "${con[@]}")"
machine_line
printf '%s MiB in /dev/shm, best of %s runs (range)\n' "$size_mib" "$runs"
cpu_dec="$(best "${c_dec[@]}")" cpu_con="$(best "${c_con[@]}")"
printf '  decrypt   %6.2f s (%s-%s)  %7.1f MiB/s  cpu %5.2f s  peak %6d KiB\n' "$t_dec" \
    "$(best "${dec[@]}")" "$(worst "${dec[@]}")" "$(calc %f "$size_mib / $t_dec")" "$cpu_dec" "$m_dec"
printf '  convert   %6.2f s (%s-%s)  %7.1f MiB/s  cpu %5.2f s  peak %6d KiB\n' "$t_con" \
    "$(best "${con[@]}")" "$(worst "${con[@]}")" "$(calc %f "$size_mib / $t_con")" "$cpu_con" "$m_con"
printf '  convert speed / decrypt speed: %s wall, %s processor (goal: at least 0.80)\n' \
    "$(calc %.2f "$t_dec / $t_con")" "$(calc %.2f "$cpu_dec / $cpu_con")"
