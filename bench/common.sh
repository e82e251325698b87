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
