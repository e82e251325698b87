# SPDX-License-Identifier: GPL-3.0-or-later
# The entries Kelvane 95 adds to the context menus of the file managers, and
# the files that carry them in each file manager's own format. Every format
# is written from this one table, so a name or a command changes here only.
#
# Each entry: an id, the menu label, a tooltip, the program's switch, and the
# files it is for: "plain" for any file that is not a crypted one, "crypted"
# for crypted files. Each hands the whole selection to one run.
set(KELVANE_FM_ACTIONS encrypt decrypt open convert)
set(KELVANE_FM_encrypt_NAME "Encrypt with Kelvane 95")
set(KELVANE_FM_encrypt_TIP "Encrypt the selected files with one password")
set(KELVANE_FM_encrypt_SWITCH --run)
set(KELVANE_FM_encrypt_FILES plain)
set(KELVANE_FM_decrypt_NAME "Decrypt")
set(KELVANE_FM_decrypt_TIP "Decrypt the selected crypted files with one password")
set(KELVANE_FM_decrypt_SWITCH --run)
set(KELVANE_FM_decrypt_FILES crypted)
set(KELVANE_FM_open_NAME "Open (encrypted again afterwards)")
set(KELVANE_FM_open_TIP "Decrypt, open in its application, encrypt again when it lets go")
set(KELVANE_FM_open_SWITCH --open)
set(KELVANE_FM_open_FILES crypted)
set(KELVANE_FM_convert_NAME "Convert to age…")
set(KELVANE_FM_convert_TIP "Write an age file of each crypted file, asking the passphrase once")
set(KELVANE_FM_convert_SWITCH --convert)
set(KELVANE_FM_convert_FILES crypted)

# kelvane_file_manager_actions(OUT_DIR): writes OUT_DIR/<share path>/... for
# each format and sets KELVANE_FM_FILES to the list of "share path" items
# written, for the install rules. Needs KELVANE_APP_ID and KELVANE_MIME_TYPE.
function(kelvane_file_manager_actions out)
    set(id ${KELVANE_APP_ID})
    set(crypted ${KELVANE_MIME_TYPE})
    set(written)
    # What the test compares every format against: id, label, command, files.
    set(manifest "")
    set(py_actions "")
    set(uca "")
    set(kde_plain "")
    set(kde_crypted "")
    foreach(action ${KELVANE_FM_ACTIONS})
        set(name "${KELVANE_FM_${action}_NAME}")
        set(tip "${KELVANE_FM_${action}_TIP}")
        set(switch ${KELVANE_FM_${action}_SWITCH})
        set(files ${KELVANE_FM_${action}_FILES})
        set(command "kelvane ${switch} %F")
        string(APPEND manifest "${action}\t${name}\t${command}\t${files}\n")

        # Dolphin: the actions of one file share its MIME types, so plain
        # and crypted files get a service menu each.
        set(kde_action "\n[Desktop Action ${action}]\nName=${name}\nIcon=${id}\nExec=${command}\n")
        if(files STREQUAL "plain")
            string(APPEND kde_plain "${kde_action}")
            list(APPEND kde_plain_ids ${action})
        else()
            string(APPEND kde_crypted "${kde_action}")
            list(APPEND kde_crypted_ids ${action})
        endif()

        # Nemo: one action a file. Nemo matches MIME types through their
        # parents, and every file's type has application/octet-stream as
        # one, so it cannot leave crypted files out of "any file".
        if(files STREQUAL "plain")
            set(match "Extensions=nodirs;")
        else()
            set(match "Mimetypes=${crypted};")
        endif()
        set(path nemo/actions/kelvane95-${action}.nemo_action)
        file(WRITE ${out}/${path} "[Nemo Action]\nName=${name}\nComment=${tip}\n"
             "Exec=${command}\nIcon-Name=${id}\nSelection=notnone\n${match}\n"
             "Dependencies=kelvane;\n")
        list(APPEND written ${path})

        # Thunar's "Send To" menu: desktop entries of their own folder. It
        # offers an entry only where every selected file's own type is
        # listed, so the plain files' entry names the common kinds of
        # documents, pictures, sound, film and archives beside the two
        # catch-all types.
        if(files STREQUAL "plain")
            string(CONCAT mime "application/octet-stream;text/plain;text/markdown;text/csv;"
                   "text/html;application/json;application/xml;application/pdf;"
                   "application/rtf;application/msword;application/vnd.ms-excel;"
                   "application/vnd.ms-powerpoint;"
                   "application/vnd.openxmlformats-officedocument.wordprocessingml.document;"
                   "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet;"
                   "application/vnd.openxmlformats-officedocument.presentationml.presentation;"
                   "application/vnd.oasis.opendocument.text;"
                   "application/vnd.oasis.opendocument.spreadsheet;"
                   "application/vnd.oasis.opendocument.presentation;"
                   "application/vnd.oasis.opendocument.graphics;application/epub+zip;"
                   "application/zip;application/x-tar;application/gzip;application/x-7z-compressed;"
                   "application/vnd.sqlite3;image/jpeg;image/png;image/gif;image/webp;image/tiff;"
                   "image/heif;image/svg+xml;audio/mpeg;audio/ogg;audio/flac;audio/x-wav;"
                   "audio/mp4;video/mp4;video/webm;video/x-matroska;video/quicktime;")
        else()
            set(mime "${crypted};")
        endif()
        set(path Thunar/sendto/${id}.${action}.desktop)
        file(WRITE ${out}/${path} "[Desktop Entry]\nType=Application\nVersion=1.4\n"
             "Name=${name}\nComment=${tip}\nIcon=${id}\nExec=${command}\n"
             "Terminal=false\nMimeType=${mime}\n")
        list(APPEND written ${path})

        # PCManFM-Qt and Caja read the file-manager actions, which can
        # negate a MIME type.
        if(files STREQUAL "plain")
            set(mime "all/allfiles;!${crypted};")
        else()
            set(mime "${crypted};")
        endif()
        set(path file-manager/actions/${id}.${action}.desktop)
        file(WRITE ${out}/${path} "[Desktop Entry]\nType=Action\nName=${name}\n"
             "Tooltip=${tip}\nIcon=${id}\nProfiles=local;\n\n"
             "[X-Action-Profile local]\nName=${name}\nExec=${command}\n"
             "MimeTypes=${mime}\nSchemes=file;\nSelectionCount=>0\n")
        list(APPEND written ${path})

        # Nautilus: the extension's table.
        string(REPLACE "\"" "\\\"" py_name "${name}")
        string(APPEND py_actions
               "    (\"${action}\", \"${py_name}\", \"${tip}\", \"${switch}\", \"${files}\"),\n")

        # Thunar's custom actions match by file name only.
        if(files STREQUAL "plain")
            set(pattern "*")
        else()
            set(pattern "*.cry")
        endif()
        string(APPEND uca "<action>\n\t<icon>${id}</icon>\n\t<name>${name}</name>\n"
               "\t<unique-id>${id}.${action}</unique-id>\n\t<command>${command}</command>\n"
               "\t<description>${tip}</description>\n\t<patterns>${pattern}</patterns>\n"
               "\t<range>1-*</range>\n\t<audio-files/>\n\t<image-files/>\n"
               "\t<other-files/>\n\t<text-files/>\n\t<video-files/>\n</action>\n")
    endforeach()

    # all/allfiles is any file but a folder; Dolphin matches through parent
    # types too, so the crypted type is excluded by name.
    string(JOIN ";" ids ${kde_plain_ids})
    set(path kio/servicemenus/${id}.plain.desktop)
    file(WRITE ${out}/${path} "[Desktop Entry]\nType=Service\nName=Kelvane 95\nMimeType=all/allfiles;\n"
         "ExcludeServiceTypes=${crypted}\nX-KDE-Priority=TopLevel\nActions=${ids};\n${kde_plain}")
    list(APPEND written ${path})
    string(JOIN ";" ids ${kde_crypted_ids})
    set(path kio/servicemenus/${id}.crypted.desktop)
    file(WRITE ${out}/${path} "[Desktop Entry]\nType=Service\nName=Kelvane 95\nMimeType=${crypted};\n"
         "X-KDE-Priority=TopLevel\nActions=${ids};\n${kde_crypted}")
    list(APPEND written ${path})

    set(KELVANE_FM_PY_ACTIONS "${py_actions}")
    set(KELVANE_MIME_TYPE ${crypted})
    set(path nautilus-python/extensions/kelvane95.py)
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/file-manager/kelvane95.py.in ${out}/${path} @ONLY)
    list(APPEND written ${path})

    # Not installed: what README.md shows for Thunar's custom actions.
    file(WRITE ${out}/thunar-uca.xml "${uca}")
    file(WRITE ${out}/file-manager-actions.tsv "${manifest}")
    set(KELVANE_FM_FILES ${written} PARENT_SCOPE)
endfunction()
