# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack on the staged installation, before it is packed: takes out
# the compilers' identification strings, which a program does not need at
# run time, as Debian's own packaging does.
file(GLOB_RECURSE programs LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*/bin/*")
foreach(program ${programs})
    execute_process(COMMAND ${CPACK_KELVANE_OBJCOPY} --remove-section=.comment ${program}
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "objcopy could not take the .comment section out of ${program}")
    endif()
endforeach()
