# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# What the whole-command benchmarks share; sourced, not run.

# require_built BIN_DIR TOOL... : stops unless every tool is built.
require_built() {
    local bin="$1" tool
    shift
    for tool in "$@"; do
        [ -x "$bin/$tool" ] || { echo "no $bin/$tool; build first" >&2; exit 2; }
    done
}

require_gnu_time() {
    [ -x /usr/bin/time ] || { echo "GNU time is missing (apt-get install time)" >&2; exit 2; }
}

# make_work NAME : a scratch folder in /dev/shm in $work, gone at exit, with
# the password in $password and in the file $work/pw.
make_work() {
    work="$(mktemp -d "/dev/shm/kelvane-$1.XXXXXX")"
    trap 'rm -rf "$work"' EXIT
    password="s3cret!"
    printf '%s\n' "$password" >"$work/pw"
}

# The password zero-filled to 8 bytes, in hex, as kelvane-cli builds the key.
des_key_hex() {
    local hex
    hex="$(printf '%s' "$1" | od -An -tx1 | tr -d ' \n')"
    while [ ${#hex} -lt 16 ]; do hex="${hex}00"; done
    printf '%s' "$hex"
}

# The least and the greatest of the numbers given.
best() { printf '%s\n' "$@" | sort -g | head -1; }
worst() { printf '%s\n' "$@" | sort -g | tail -1; }

# machine_line : the processor's model and count and the load average, which
# every figure depends on; printed beside them.
machine_line() {
    local model
    model=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
    printf 'processor: %s, %s processors; load average %s\n' "${model:-unknown}" "$(nproc)" \
        "$(cut -d' ' -f1-3 /proc/loadavg)"
}

# Processor time that others spent while a benchmark ran: the whole
# machine's busy time less what this script and its children took.
# others_start, then others_seconds after the work: the seconds of other
# programs (and of the kernel's own threads) meanwhile.
busy_ticks() { awk '/^cpu / { print $2 + $3 + $4 + $7 + $8 }' /proc/stat; }
# This shell's own and its waited-for children's user and system time; the
# name in the second field may hold spaces, so fields count from its end.
own_ticks() { sed 's/.*) //' "/proc/$$/stat" | awk '{ print $12 + $13 + $14 + $15 }'; }
others_start() {
    others_busy0=$(busy_ticks)
    others_own0=$(own_ticks)
}
others_seconds() {
    local busy own
    busy=$(busy_ticks) own=$(own_ticks)
    awk -v hz="$(getconf CLK_TCK)" "BEGIN { s = ($busy - $others_busy0 - ($own - $others_own0)) / hz;
        printf \"%.2f\", s < 0 ? 0 : s }"
}
