#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Debian package from a build tree the way debian/rules does,
# unpacks it into a scratch root and checks that everything lies where the
# desktop, man and the program look for it, and that it declares what it
# needs.
#   debian_package.sh BUILD_DIR SOURCE_DIR APP_ID VERSION HOMEPAGE
# dpkg-buildpackage would configure and compile the whole program again;
# here the build tree stands in for that half: with debhelper's build stamp
# in place, "dh binary" lists only the steps after the build, and this
# script runs them in a copy of debian/, with the one step that installs
# from the build directory pointed at BUILD_DIR.
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
app_id=$3
version=$4
homepage=$5

scratch=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-deb-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The package's changelog is debian/changelog, the release notes of
# CHANGELOG.md that the build writes out in Debian's form.
if ! diff -u "$source/debian/changelog" "$build/packaging/changelog" >"$scratch/changelog.diff"; then
    cat "$scratch/changelog.diff" >&2
    fail "debian/changelog is not CHANGELOG.md's notes (cp $build/packaging/changelog $source/debian/changelog)"
fi

work="$scratch/kelvane-$version"
mkdir -p "$work"
cp -R "$source/debian" "$work/"
# Left from a dpkg-buildpackage run in the source tree, they would stand
# for a package made from another build.
rm -rf "$work/debian/.debhelper" "$work/debian/kelvane" "$work/debian/files" \
    "$work/debian/"*.substvars "$work/debian/"*.debhelper.log "$work/debian/debhelper-build-stamp"
echo kelvane >"$work/debian/debhelper-build-stamp"
(
    cd "$work"
    export DEB_BUILD_OPTIONS=noddebs
    dh binary --no-act >"$scratch/steps"
    grep -q '^ *dh_auto_install' "$scratch/steps" || { echo "dh binary installs nothing" >&2; exit 1; }
    while read -r -a step; do
        if [ "${step[0]}" = dh_auto_install ]; then
            # What dh_auto_install does, from a build configured for /usr
            # or, like this one, for another prefix.
            DESTDIR="$work/debian/kelvane" cmake --install "$build" --prefix /usr
        else
            "${step[@]}"
        fi
    done <"$scratch/steps"
) >"$scratch/dh.log" 2>&1 || { cat "$scratch/dh.log" >&2; exit 1; }
debs=("$scratch"/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "expected one .deb" >&2
    exit 1
fi
deb=${debs[0]}

[ "$(dpkg-deb -f "$deb" Package)" = kelvane ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] ||
    fail "package version $(dpkg-deb -f "$deb" Version), the project's $version"
[ "$(dpkg-deb -f "$deb" Homepage)" = "$homepage" ] ||
    fail "package homepage $(dpkg-deb -f "$deb" Homepage), the project's $homepage"
[ "$(dpkg-deb -f "$deb" Section)" = utils ] || fail "section"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
grep -qw cups-client <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "Recommends lacks cups-client"
suggests=$(dpkg-deb -f "$deb" Suggests)
for package in age python3-nautilus; do
    grep -qw "$package" <<<"$suggests" || fail "Suggests lacks $package: $suggests"
done
enhances=$(dpkg-deb -f "$deb" Enhances)
for manager in thunar nemo dolphin nautilus pcmanfm-qt caja; do
    grep -qw "$manager" <<<"$enhances" || fail "Enhances lacks $manager: $enhances"
done

root="$scratch/root"
dpkg -x "$deb" "$root"
share="$root/usr/share"
for file in \
    usr/bin/kelvane usr/bin/kelvane-cli \
    "usr/share/applications/$app_id.desktop" \
    "usr/share/applications/$app_id.verb-open.desktop" \
    "usr/share/applications/$app_id.verb-print.desktop" \
    "usr/share/applications/$app_id.verb-decrypt.desktop" \
    "usr/share/mime/packages/$app_id.xml" \
    "usr/share/metainfo/$app_id.metainfo.xml" \
    "usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    usr/share/icons/hicolor/scalable/mimetypes/application-x-kelvane-crypted.svg \
    usr/share/kelvane/kelvane.reg usr/share/kelvane/kelvane-document.svg \
    usr/share/kelvane/help/index.html usr/share/kelvane/help/main-window.html \
    usr/share/kelvane/help/preferences.html \
    usr/share/kelvane/translations/kelvane_de.qm usr/share/kelvane/translations/kelvane_es.qm \
    usr/share/kelvane/translations/kelvane_fr.qm \
    usr/share/man/man1/kelvane.1.gz usr/share/man/man1/kelvane-cli.1.gz \
    usr/share/locale/de/LC_MESSAGES/kelvane-cli.mo usr/share/locale/fr/LC_MESSAGES/kelvane-cli.mo \
    usr/share/locale/es/LC_MESSAGES/kelvane-cli.mo \
    "usr/share/icons/hicolor/16x16/apps/$app_id.png" \
    "usr/share/icons/hicolor/256x256/apps/$app_id.png" \
    usr/share/doc/kelvane/copyright usr/share/doc/kelvane/changelog.gz \
    usr/share/lintian/overrides/kelvane; do
    [ -f "$root/$file" ] || fail "missing /$file"
done
for program in kelvane kelvane-cli; do
    [ -x "$root/usr/bin/$program" ] || fail "/usr/bin/$program is not executable"
done

# Nothing outside /usr, and no trace of the staging directory.
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "files outside /usr: $outside"
if grep -rlF "$scratch" "$root" >/dev/null 2>&1; then
    fail "the staging directory leaked into the package"
fi

# The registry names the installed data directory, where the help lives.
grep -qF '@="/usr/share/kelvane/kelvane-document.svg"' "$share/kelvane/kelvane.reg" ||
    fail "kelvane.reg does not name /usr/share/kelvane"

# The desktop finds the entry's icon and program under the names it uses.
entry="$share/applications/$app_id.desktop"
grep -qx "Icon=$app_id" "$entry" || fail "desktop entry icon"
grep -qx "Exec=kelvane %f" "$entry" || fail "desktop entry command"
grep -qx "StartupWMClass=kelvane" "$entry" || fail "desktop entry names no window class"
grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
    "$share/metainfo/$app_id.metainfo.xml" || fail "metainfo names another desktop entry"

# A double-click on a crypted file: with no choice of the user's, the first
# entry that update-desktop-database lists for the type, the program's own.
update-desktop-database "$share/applications"
first=$(sed -n 's|^application/x-kelvane-crypted=\([^;]*\);.*|\1|p' "$share/applications/mimeinfo.cache")
[ "$first" = "$app_id.desktop" ] || fail "a double-click on a crypted file runs $first"
rm "$share/applications/mimeinfo.cache"

# The file managers' context-menu entries: each format carries the same
# entries, with the same labels and commands, as the build's table, and
# only crypted files get the entries for crypted files.
manifest="$build/packaging/file-manager/file-manager-actions.tsv"
kde_plain="$share/kio/servicemenus/$app_id.plain.desktop"
kde_crypted="$share/kio/servicemenus/$app_id.crypted.desktop"
extension="$share/nautilus-python/extensions/kelvane95.py"
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
entries=0
while IFS=$'\t' read -r id name command files; do
    entries=$((entries + 1))
    nemo="$share/nemo/actions/kelvane95-$id.nemo_action"
    sendto="$share/Thunar/sendto/$app_id.$id.desktop"
    action="$share/file-manager/actions/$app_id.$id.desktop"
    for file in "$nemo" "$sendto" "$action"; do
        [ -f "$file" ] || { fail "missing ${file#"$root"}"; continue; }
        grep -qxF "Name=$name" "$file" || fail "${file#"$root"}: not named \"$name\""
        grep -qxF "Exec=$command" "$file" || fail "${file#"$root"}: does not run \"$command\""
    done
    kde=$kde_plain
    [ "$files" = crypted ] && kde=$kde_crypted
    # The service menu's action of that id, up to the next group.
    kde_action=$(sed -n "/^\[Desktop Action $id\]\$/,/^\[/p" "$kde" 2>/dev/null)
    grep -qxF "Name=$name" <<<"$kde_action" || fail "no Dolphin entry \"$name\""
    grep -qxF "Exec=$command" <<<"$kde_action" || fail "Dolphin's \"$name\" does not run \"$command\""
    grep -qF "(\"$id\", \"$name\", " "$extension" || fail "the Nautilus extension lacks \"$name\""
    switch=${command#kelvane }
    grep -qF "\"${switch% %F}\", \"$files\")," "$extension" || fail "Nautilus's \"$name\" is no ${switch% %F} run"
    if [ "$files" = crypted ]; then
        grep -qx 'MimeTypes=application/x-kelvane-crypted;' "$action" || fail "$id: file-manager action is not for crypted files"
        grep -qx 'MimeType=application/x-kelvane-crypted;' "$sendto" || fail "$id: Send To is not for crypted files"
        grep -qx 'Mimetypes=application/x-kelvane-crypted;' "$nemo" || fail "$id: Nemo action is not for crypted files"
    else
        grep -qx 'MimeTypes=all/allfiles;!application/x-kelvane-crypted;' "$action" ||
            fail "$id: file-manager action does not leave crypted files out"
        grep -q 'crypted' "$sendto" && fail "$id: Send To offers it for crypted files"
    fi
done <"$manifest"
[ "$entries" -eq 4 ] || fail "the table holds $entries entries"
for format in "$share/nemo/actions" "$share/Thunar/sendto" "$share/file-manager/actions"; do
    [ "$(find "$format" -type f | wc -l)" -eq "$entries" ] || fail "${format#"$root"} holds another set of entries"
done
grep -qx 'ExcludeServiceTypes=application/x-kelvane-crypted' "$kde_plain" ||
    fail "Dolphin offers encryption for crypted files"
[ "$(grep -c '^\[Desktop Action ' "$kde_plain" "$kde_crypted" | awk -F: '{ n += $2 } END { print n }')" -eq "$entries" ] ||
    fail "the service menus hold another set of entries"
# Thunar's Send To entries are plain desktop entries. The service menus are
# KDE's own type: desktop-file-validate knows no Type=Service and no
# ExcludeServiceTypes or all/allfiles, and anything else it says counts.
desktop-file-validate "$share/Thunar/sendto/"*.desktop >"$scratch/validate.log" 2>&1 ||
    { cat "$scratch/validate.log" >&2; fail "Send To entries do not validate"; }
desktop-file-validate "$kde_plain" "$kde_crypted" 2>&1 |
    grep -vE 'type is "Service"|"ExcludeServiceTypes"|"all/allfiles"' >"$scratch/validate.log" || true
[ -s "$scratch/validate.log" ] && { cat "$scratch/validate.log" >&2; fail "service menus do not validate"; }
python3 -c 'import py_compile, sys; py_compile.compile(sys.argv[1], cfile=sys.argv[2], doraise=True)' \
    "$extension" "$scratch/extension.pyc" || fail "the Nautilus extension does not compile"
# README.md shows the Thunar custom actions the table gives.
readme_uca=$(sed -n '/^<action>$/,/^<\/action>$/p' "$source_dir/README.md")
[ "$readme_uca" = "$(cat "$build/packaging/file-manager/thunar-uca.xml")" ] ||
    fail "README.md's Thunar custom actions differ from $build/packaging/file-manager/thunar-uca.xml"

# The installed manual pages are the ones that render.
# Each output is taken whole before it is searched: grep -q stops reading at
# its first match, and under pipefail the writer's SIGPIPE would fail the test.
page=$(MANWIDTH=80 man -l "$root/usr/share/man/man1/kelvane-cli.1.gz" 2>/dev/null || true)
grep -q "^NAME" <<<"$page" ||
    fail "kelvane-cli.1.gz does not render"

grep -q '^kelvane-cli [0-9]' <<<"$("$root/usr/bin/kelvane-cli" --version)" || fail "kelvane-cli --version"
# The installed program finds its installed catalogues.
help=$(env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=de_DE.UTF-8 "$root/usr/bin/kelvane-cli" --help)
grep -qx 'Aufruf:' <<<"$help" ||
    fail "the installed kelvane-cli speaks no German"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/kelvane" --version)
grep -q '^kelvane [0-9]' <<<"$version" || fail "kelvane --version"

# What Debian's own checker says, including its pedantic and informational
# tags: nothing, but for the overrides the package explains.
# Tags come on standard output; lintian's own remarks, such as the one on
# running as root, on standard error.
tags="$scratch/lintian.tags"
suppress=()
if [ -n "${KELVANE_LINTIAN_SUPPRESS:-}" ]; then
    suppress=(--suppress-tags "$KELVANE_LINTIAN_SUPPRESS")
fi
if ! lintian --pedantic --display-info --fail-on error,warning,info,pedantic "${suppress[@]}" \
    "$deb" >"$tags" 2>"$scratch/lintian.log" || grep -q . "$tags"; then
    cat "$tags" "$scratch/lintian.log" >&2
    fail "lintian found faults in the package"
fi

[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$deb"): $(dpkg-deb -f "$deb" Installed-Size) KiB installed; Depends: $depends"
