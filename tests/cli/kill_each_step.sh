#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Kills kelvane-cli at every system call of the steps that touch files, one
# kill per run (strace -e inject=CALL:signal=KILL:when=N), for encryption,
# decryption, a replacing encryption and a conversion to age, and for runs
# over several files that commit them in batches, with unnamed files and with
# the named temporaries used where the file system has none. After each kill,
# for every file of the run:
#   - the source is intact, or gone with a complete destination beside it;
#   - a destination that exists is complete (never partial);
#   - the next run on the same destination leaves no temporary behind.
# Also makes each flush fail once (error injection) and checks what is said.
# Skips (77) where strace is missing or may not trace.
#   kill_each_step.sh path/to/kelvane-cli
set -uo pipefail

cli=$(realpath "$1")
if ! command -v strace >/dev/null || ! strace -o /dev/null true 2>/dev/null; then
    echo "kill test skipped: strace is missing or may not trace here"
    exit 77
fi

# The leak checker stops the world with ptrace, which strace holds already.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
printf 's3cret!\n' >pw
head -c 300001 /dev/urandom >plain.ref
"$cli" encrypt -q -k -p pw -o crypted.ref plain.ref || exit 1
# Small files for the batched runs, each its own content.
for small in 1 2 3; do
    head -c $((1000 * small + 3)) /dev/urandom >"plain$small.ref"
    "$cli" encrypt -q -k -p pw -o "crypted$small.ref" "plain$small.ref" || exit 1
done
printf 'an older file of that name\n' >older.ref
# An age file differs from run to run (fresh keys), so the conversion's is
# complete when `age` opens it to the original.
if command -v age-keygen >/dev/null; then
    age-keygen -o key 2>/dev/null
    recipient=$(age-keygen -y key)
fi

calls=(openat read write pwrite64 fsync syncfs fchmod linkat renameat renameat2 unlinkat close)
kills=0
failures=0

fail() {
    echo "FAIL [$scenario, $call #$when]: $*"
    failures=$((failures + 1))
}

same() {
    if [ "$2" = age.ref ]; then
        age -d -i key "$1" 2>/dev/null | cmp -s - plain.ref
    else
        cmp -s "$1" "$2"
    fi
}

# scenario: the command; for each of its files the source, its reference, the
# destination and what a complete destination holds; an older destination
# when the run replaces.
setup() {
    rm -rf d && mkdir d
    local i
    for i in "${!sources[@]}"; do
        cp "${source_refs[i]}" "d/${sources[i]}"
        [ -n "$older" ] && cp older.ref "d/${destinations[i]}"
    done
    return 0
}

check_after_kill() {
    local i source destination
    for i in "${!sources[@]}"; do
        source=${sources[i]} destination=${destinations[i]}
        if [ -e "d/$source" ]; then
            same "d/$source" "${source_refs[i]}" || fail "$source changed"
            if [ -e "d/$destination" ] && ! same "d/$destination" "${destination_refs[i]}"; then
                if [ -z "$older" ] || ! same "d/$destination" older.ref; then
                    fail "a partial $destination"
                fi
            fi
        else
            same "d/$destination" "${destination_refs[i]}" ||
                fail "$source went without a complete destination"
        fi
    done
}

# The files a scenario's folder may hold, for grep -v -x.
expected_names() {
    local name
    for name in "${sources[@]}" "${destinations[@]}"; do
        printf -- '-e\n%s\n' "$name"
    done
}

check_next_run() {
    # The same command once more, unkilled, as a user would run it again.
    (cd d && "$cli" "${command[@]}" >/dev/null 2>&1)
    local stray expected
    mapfile -t expected < <(expected_names)
    stray=$(find d -mindepth 1 -maxdepth 1 -printf '%f\n' | grep -v -x "${expected[@]}" || true)
    [ -z "$stray" ] || fail "left behind: $stray"
    # What the killed run left both ways, its destination in place and its
    # source not yet deleted, is finished by the next one, not refused.
    [ -n "$rerun_finishes" ] || return 0
    local i
    for i in "${!sources[@]}"; do
        [ ! -e "d/${sources[i]}" ] || fail "the next run left ${sources[i]}"
        same "d/${destinations[i]}" "${destination_refs[i]}" ||
            fail "the next run left no complete ${destinations[i]}"
    done
}

# Every source as it was, and no destination (or the older one).
check_all_kept() {
    local i
    for i in "${!sources[@]}"; do
        same "d/${sources[i]}" "${source_refs[i]}" || fail "${sources[i]} changed after $1"
        if [ -n "$older" ]; then
            same "d/${destinations[i]}" older.ref || fail "$1 replaced the older file"
        else
            [ ! -e "d/${destinations[i]}" ] || fail "$1 left a destination"
        fi
    done
    [ "$(find d -mindepth 1 -maxdepth 1 | wc -l)" -eq $((${#sources[@]} * (${#older} > 0 ? 2 : 1))) ] ||
        fail "$1 left files"
}

# How many calls of $1 the program makes before it opens the password file:
# its start-up (the loader, a sanitizer's set-up), which touches no file of
# ours and need not be killed at.
calls_before_password() {
    awk -v call="$1" '$2 ~ /^openat\(/ && /"\.\.\/pw"/ { exit } $2 ~ "^" call "\\(" { n++ } END { print n + 0 }' \
        trace.log
}

run_scenario() {
    setup
    (cd d && strace -f -o ../trace.log "$cli" "${command[@]}" >/dev/null 2>&1)
    for call in "${calls[@]}"; do
        local first
        first=$(calls_before_password "$call")
        for ((when = first + 1; when <= first + 200; when++)); do
            setup
            # The subshell reaps the killed run and keeps its notice quiet.
            status=$(
                exec 2>/dev/null
                cd d || exit 1
                strace -f -o /dev/null -e trace="$call" -e inject="$call":signal=KILL:when="$when" \
                    "$cli" "${command[@]}" >/dev/null
                echo $?
            )
            [ "$status" -eq 137 ] || break # ran to its end: no call left to kill at
            kills=$((kills + 1))
            check_after_kill
            check_next_run
        done
    done
}

# $1: the flush call, fsync for one file, syncfs for a batch of several.
check_failed_flushes() {
    # The first flush is the data's: nothing may change. The second is the
    # names', after the new files have them: it must say so.
    local flush=$1 i
    call="$flush error"
    when=1
    setup
    out=$(cd d && strace -f -o /dev/null -e trace="$flush" -e inject="$flush":error=EIO:when=1 \
        "$cli" "${command[@]}" 2>&1)
    status=$?
    [ $status -eq 1 ] || fail "a failed data flush did not fail the run ($status): $out"
    [[ "$out" == *"can't write \""*"\": Input/output error; \""*"\" is kept"* ]] || fail "data flush message: $out"
    check_all_kept "a failed data flush"

    when=2
    setup
    out=$(cd d && strace -f -o /dev/null -e trace="$flush" -e inject="$flush":error=EIO:when=2 \
        "$cli" "${command[@]}" 2>&1)
    status=$?
    [ $status -eq 1 ] || fail "an unconfirmed destination was reported as done ($status): $out"
    [[ "$out" == *"is in place but could not be confirmed on disk"* ]] ||
        fail "directory flush message: $out"
    for i in "${!sources[@]}"; do
        same "d/${sources[i]}" "${source_refs[i]}" ||
            fail "${sources[i]} went though its destination was unconfirmed"
        same "d/${destinations[i]}" "${destination_refs[i]}" ||
            fail "the unconfirmed ${destinations[i]} is not complete"
    done
}

scenarios() {
    rerun_finishes=yes
    scenario="encrypt$1"
    sources=(a) source_refs=(plain.ref) destinations=(a.cry) destination_refs=(crypted.ref) older=
    command=(encrypt -q -p ../pw a)
    run_scenario
    check_failed_flushes fsync

    scenario="decrypt$1"
    sources=(a.cry) source_refs=(crypted.ref) destinations=(a) destination_refs=(plain.ref) older=
    command=(decrypt -q -p ../pw a.cry)
    run_scenario
    check_failed_flushes fsync

    scenario="encrypt -f over an older file$1"
    sources=(a) source_refs=(plain.ref) destinations=(a.cry) destination_refs=(crypted.ref) older=yes
    command=(encrypt -q -f -p ../pw a)
    run_scenario
    check_failed_flushes fsync

    scenario="encrypt three files in a batch, two at once$1"
    sources=(a b c) source_refs=(plain1.ref plain2.ref plain3.ref)
    destinations=(a.cry b.cry c.cry) destination_refs=(crypted1.ref crypted2.ref crypted3.ref) older=
    command=(encrypt -q -j 2 -p ../pw a b c)
    run_scenario
    check_failed_flushes syncfs

    scenario="decrypt a folder in a batch$1"
    sources=(a.cry b.cry c.cry) source_refs=(crypted1.ref crypted2.ref crypted3.ref)
    destinations=(a b c) destination_refs=(plain1.ref plain2.ref plain3.ref) older=
    command=(decrypt -q -r -p ../pw .)
    run_scenario
    check_failed_flushes syncfs

    scenario="encrypt -f three files over older ones in a batch$1"
    sources=(a b c) source_refs=(plain1.ref plain2.ref plain3.ref)
    destinations=(a.cry b.cry c.cry) destination_refs=(crypted1.ref crypted2.ref crypted3.ref) older=yes
    command=(encrypt -q -f -p ../pw a b c)
    run_scenario
    check_failed_flushes syncfs

    [ -n "${recipient:-}" ] || return 0
    # An age file already there is never looked into: the next run refuses
    # it as any other file in the way.
    rerun_finishes=
    scenario="convert$1"
    sources=(a.cry) source_refs=(crypted.ref) destinations=(a.age) destination_refs=(age.ref) older=
    command=(convert -q -p ../pw --recipient "$recipient" a.cry)
    run_scenario
    check_failed_flushes fsync
}

scenarios ""
export KELVANE_NO_UNNAMED_TEMPORARY=1
scenarios " (named temporaries)"

echo "kills: $kills, failures: $failures"
[ $failures -eq 0 ] && [ $kills -gt 0 ]
