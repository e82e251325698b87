#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the licence identifier at the head of every tracked source: the first
# line of a C++ or CMake file, the line after the shebang of a script. A file
# that already carries it is left alone, so running this again changes
# nothing.
#   add_spdx.sh          add the line where it is missing
#   add_spdx.sh --check  list the files without it and fail if there are any
set -euo pipefail
cd "$(dirname "$0")/.."

readonly identifier="SPDX-License-Identifier: GPL-3.0-or-later"
check=false
case "${1:-}" in
    "") ;;
    --check) check=true ;;
    *)
        echo "usage: $0 [--check]" >&2
        exit 2
        ;;
esac

# The comment leader for a file, or nothing when the file takes no header.
leader() {
    case "$1" in
        *.cpp | *.h) echo "//" ;;
        *.sh | *.cmake | */CMakeLists.txt | CMakeLists.txt) echo "#" ;;
        *) if head -n 1 "$1" | grep -q '^#!'; then echo "#"; fi ;;
    esac
}

# The identifier counts only where a reader looks for it: in the first line,
# or in the second after a shebang.
has_identifier() {
    head -n 2 "$1" | grep -qF "$identifier"
}

insert_identifier() {
    local file=$1 line=$2 scratch
    scratch=$(mktemp)
    if head -n 1 "$file" | grep -q '^#!'; then
        { head -n 1 "$file"; echo "$line"; tail -n +2 "$file"; } >"$scratch"
    else
        { echo "$line"; cat "$file"; } >"$scratch"
    fi
    # Written back through the same file, so its mode stays as it was.
    cat "$scratch" >"$file"
    rm -f "$scratch"
}

# The script names itself among the files it edits, and bash reads a script
# as it runs: all the work is in a function, read whole before it starts.
main() {
    missing=0
    while IFS= read -r -d '' file; do
        if [ ! -f "$file" ] || [ -L "$file" ]; then continue; fi
        comment=$(leader "$file")
        [ -n "$comment" ] || continue
        has_identifier "$file" && continue
        if $check; then
            echo "$file: no \"$identifier\" line at its head" >&2
            missing=$((missing + 1))
        else
            insert_identifier "$file" "$comment $identifier"
            echo "added: $file"
        fi
    done < <(git ls-files -z)

    if $check; then
        [ "$missing" -eq 0 ] || { echo "licence: $missing files lack the identifier (scripts/add_spdx.sh adds it)" >&2; exit 1; }
        echo "licence: every tracked source names its licence"
    fi
}

main; exit
