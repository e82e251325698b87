# SPDX-License-Identifier: GPL-3.0-or-later
# Reads CHANGELOG.md and writes what the package and the software centre
# say about each release: the Debian changelog and the metainfo's releases.
#   In:  KELVANE_CHANGELOG_MD, KELVANE_PACKAGE_NAME, KELVANE_MAINTAINER,
#        PROJECT_VERSION
#   Out: the file KELVANE_DEBIAN_CHANGELOG, the variable KELVANE_RELEASES_XML
# A line the format does not allow stops the configuration, so the notes
# never go out half read.

# The day of the week, as a changelog's date names it (Sakamoto's method).
function(kelvane_weekday year month day out)
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR index "${month} - 1")
    list(GET offsets ${index} offset)
    if(month LESS 3)
        math(EXPR year "${year} - 1")
    endif()
    math(EXPR weekday "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
    set(names Sun Mon Tue Wed Thu Fri Sat)
    list(GET names ${weekday} name)
    set(${out} ${name} PARENT_SCOPE)
endfunction()

function(kelvane_xml_text text out)
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(READ ${KELVANE_CHANGELOG_MD} markdown)
# Semicolons in the notes must survive CMake's lists.
string(ASCII 31 semicolon)
string(REPLACE ";" "${semicolon}" markdown "${markdown}")
string(REPLACE "\n" ";" lines "${markdown}")

set(debian "")
set(releases "")
set(version "")     # of the release being read
set(item "")        # the item being read, its lines joined by spaces
set(debian_item "") # the same with the changelog's own line breaks
set(line_number 0)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)

macro(kelvane_end_item)
    if(NOT item STREQUAL "")
        kelvane_xml_text("${item}" xml_item)
        string(APPEND releases "          <li>${xml_item}</li>\n")
        string(APPEND debian "${debian_item}")
        set(item "")
        set(debian_item "")
    endif()
endmacro()

macro(kelvane_end_release)
    kelvane_end_item()
    if(NOT version STREQUAL "")
        string(APPEND releases "        </ul>\n      </description>\n    </release>\n")
        string(APPEND debian "\n -- ${KELVANE_MAINTAINER}  ${debian_date}\n")
    endif()
endmacro()

foreach(line IN LISTS lines)
    math(EXPR line_number "${line_number} + 1")
    string(LENGTH "${line}" length)
    if(length GREATER 76)
        message(FATAL_ERROR "CHANGELOG.md:${line_number}: longer than 76 characters")
    endif()
    if(line MATCHES "^## ([0-9][0-9A-Za-z.+~]*) - ([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
        kelvane_end_release()
        set(version ${CMAKE_MATCH_1})
        set(year ${CMAKE_MATCH_2})
        set(month ${CMAKE_MATCH_3})
        set(day ${CMAKE_MATCH_4})
        # "08" as a number, without a leading zero taken for octal.
        math(EXPR month_number "1${month} - 100")
        math(EXPR day_number "1${day} - 100")
        math(EXPR month_index "${month_number} - 1")
        list(GET months ${month_index} month_name)
        kelvane_weekday(${year} ${month_number} ${day_number} weekday)
        set(debian_date "${weekday}, ${day} ${month_name} ${year} 12:00:00 +0000")
        if(NOT debian STREQUAL "")
            string(APPEND debian "\n")
        endif()
        string(APPEND debian "${KELVANE_PACKAGE_NAME} (${version}) unstable; urgency=medium\n\n")
        string(APPEND releases "    <release version=\"${version}\" date=\"${year}-${month}-${day}\">\n"
                               "      <description>\n        <ul>\n")
    elseif(version STREQUAL "")
        # The introduction before the first release.
    elseif(line MATCHES "^- (.+)$")
        kelvane_end_item()
        set(item "${CMAKE_MATCH_1}")
        set(debian_item "  * ${CMAKE_MATCH_1}\n")
    elseif(line MATCHES "^  ([^ ].*)$" AND NOT item STREQUAL "")
        string(APPEND item " ${CMAKE_MATCH_1}")
        string(APPEND debian_item "    ${CMAKE_MATCH_1}\n")
    elseif(line STREQUAL "")
        kelvane_end_item()
    else()
        message(FATAL_ERROR "CHANGELOG.md:${line_number}: neither a release heading, "
                            "an item \"- ...\" nor its continuation \"  ...\"")
    endif()
    if(NOT DEFINED newest_version AND NOT version STREQUAL "")
        set(newest_version ${version})
    endif()
endforeach()
kelvane_end_release()

# A release built without its notes would ship the previous one's.
if(NOT newest_version STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "CHANGELOG.md: the newest release is \"${newest_version}\", "
                        "the project's version ${PROJECT_VERSION}")
endif()

string(REPLACE "${semicolon}" ";" debian "${debian}")
string(REPLACE "${semicolon}" ";" releases "${releases}")
# Rewritten only when it changes, so that it is compressed again only then.
file(WRITE ${KELVANE_DEBIAN_CHANGELOG}.new "${debian}")
configure_file(${KELVANE_DEBIAN_CHANGELOG}.new ${KELVANE_DEBIAN_CHANGELOG} COPYONLY)
set(KELVANE_RELEASES_XML "${releases}")
