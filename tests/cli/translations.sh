#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kelvane-cli in another language, as a user's locale chooses it:
#  - every line it prints comes from the catalogue (a pseudo-translation
#    marks each text, so a line left English stands out), apart from the
#    values in it and the usage lines, which are option names;
#  - under C and en_US its output stays the English it always was, even
#    with a catalogue installed;
#  - the German catalogue built beside it is found and used.
#   translations.sh KELVANE_CLI TEMPLATE.pot
set -euo pipefail
cli=$(realpath "$1")
template=$(realpath "$2")

scratch=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-tr-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# An installation of its own: the program finds its catalogues beside it.
mkdir -p "$scratch/bin" "$scratch/share/locale/de/LC_MESSAGES"
cp "$cli" "$scratch/bin/kelvane-cli"
# Each translation is the English with accented vowels: readable, and
# plainly not the English source. The header, the one entry without a
# context, stays as it is.
msgen --no-wrap "$template" |
    awk '/^msgctxt /{text=1} /^msgstr /{inside=text} /^$/{inside=0; text=0} inside{gsub(/a/,"á");gsub(/e/,"é");gsub(/i/,"í");gsub(/o/,"ó");gsub(/u/,"ú");gsub(/y/,"ý");gsub(/A/,"Á");gsub(/E/,"É");gsub(/I/,"Í");gsub(/O/,"Ó");gsub(/U/,"Ú")} {print}' |
    sed 's/charset=CHARSET/charset=UTF-8/' >"$scratch/pseudo.po"
msgfmt --check-format -o "$scratch/share/locale/de/LC_MESSAGES/kelvane-cli.mo" "$scratch/pseudo.po"

work="$scratch/work"
mkdir -p "$work"
cd "$work"
printf 'secret1\n' >pw
printf 'wrong12\n' >other
head -c 5000 /dev/zero >plain.txt
printf 'plain\n' >taken.txt
printf 'in the way\n' >taken.txt.cry
mkdir folder

run() { # LANG, then the arguments; stdout and stderr into out and err
    local lang=$1
    shift
    env -i PATH=/usr/bin:/bin LANG="$lang" "$scratch/bin/kelvane-cli" "$@" >out 2>err </dev/null || true
}

# The usage lines list option names only: "  kelvane-cli encrypt [-k] ..."
# and their continuations.
untranslated() {
    grep -vP '[^\x00-\x7F]' "$1" | grep -vE '^(  kelvane-cli [a-z]+ )?[][A-Za-z0-9 .=-]*$' |
        grep -vE '^\s*$' || true
}

cases=(
    "--help" "encrypt --help" "decrypt --help" "verify --help" "info --help" "convert --help"
    "" "bogus" "encrypt" "encrypt --bogus plain.txt" "encrypt -j 0 plain.txt"
    "encrypt -p pw missing.txt" "encrypt -p pw folder" "encrypt -p nothing plain.txt"
    "encrypt -k -p pw plain.txt" "encrypt -k -p pw plain.txt" "encrypt -p pw taken.txt" "verify -p pw plain.txt.cry"
    "verify -p other plain.txt.cry" "decrypt -p other plain.txt.cry" "info plain.txt.cry" "info pw" "decrypt -p pw plain.txt"
    "convert -p pw --recipient age1x plain.txt.cry"
)
for args in "${cases[@]}"; do
    # shellcheck disable=SC2086 # the arguments are words
    run de_DE.UTF-8 $args
    for stream in out err; do
        left=$(untranslated "$stream")
        [ -z "$left" ] || fail "kelvane-cli $args: English on std$stream: $left"
    done
    # The same under C and en_US, catalogue or not: the English of today.
    # shellcheck disable=SC2086
    run C $args
    cat out err >c.txt
    # shellcheck disable=SC2086
    run en_US.UTF-8 $args
    cat out err >en.txt
    cmp -s c.txt en.txt || fail "kelvane-cli $args: en_US differs from C"
    grep -qP '[^\x00-\x7F]' c.txt && fail "kelvane-cli $args: C is not English: $(cat c.txt)"
done

# Figures keep their form whatever the language: no grouping, no comma.
run de_DE.UTF-8 info plain.txt.cry
grep -qE ' 5000$' out || fail "info's length is not 5000 in German: $(cat out)"

# The real German catalogue, beside the build's program.
env -i PATH=/usr/bin:/bin LANG=de_DE.UTF-8 "$cli" --help >out 2>&1 || true
grep -qx 'Aufruf:' out || fail "--help is not German: $(head -n 3 out)"
env -i PATH=/usr/bin:/bin LANG=de_DE.UTF-8 "$cli" encrypt --bogus x >out 2>&1 || true
grep -qx 'kelvane-cli: unbekannte Option --bogus für encrypt' out ||
    fail "the unknown option is not German: $(cat out)"
env -i PATH=/usr/bin:/bin LANG=C "$cli" encrypt --bogus x >out 2>&1 || true
printf "kelvane-cli: unknown option --bogus for encrypt\nTry 'kelvane-cli --help'.\n" >expected
cmp -s out expected || fail "under C the unknown option reads: $(cat out)"

[ "$failures" -eq 0 ] || exit 1
echo "translations: ${#cases[@]} commands translated whole, English under C and en_US"
