#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Each translation in kelvane-cli's catalogues holds the same %1 to %9 as
# its English text: one dropped would drop a file's name from a message,
# one added would show a stray "%2". An untranslated entry is skipped.
#   check_cli_placeholders.sh LANG.po...
set -euo pipefail

# Run by msgexec once a message, with the English in MSGEXEC_MSGID and the
# translation on standard input.
# shellcheck disable=SC2016 # expanded by the shell msgexec starts
compare='
numbers() { grep -o "%[1-9]" | LC_ALL=C sort -u | tr -d "\n"; }
translation=$(cat)
[ -n "$MSGEXEC_MSGID" ] && [ -n "$translation" ] || exit 0
english=$(printf "%s" "$MSGEXEC_MSGID" | numbers)
translated=$(printf "%s" "$translation" | numbers)
[ "$english" = "$translated" ] && exit 0
printf "%s: \"%s\" has %s, its translation %s\n" "$1" "$MSGEXEC_MSGID" "${english:-none}" "${translated:-none}" >&2
exit 1'

failed=0
for po in "$@"; do
    msgexec -i "$po" sh -c "$compare" sh "$po" || failed=1
done
[ "$failed" -eq 0 ] || { echo "placeholders: a translation lost or gained a %N" >&2; exit 1; }
echo "placeholders: $# catalogues keep every %N"
