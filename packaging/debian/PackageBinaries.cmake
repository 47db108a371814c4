# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack on the staged files: strips every ELF file as Debian does and finds the package's Depends from what they link.
# CPack strips only what is installed as a target (not the files of a plug-in bundle), and its own
# dependency scan (CPACK_DEBIAN_PACKAGE_SHLIBDEPS) would also add ldconfig calls to the maintainer
# scripts for any shared object under /usr/lib: the plug-ins there are no libraries.

file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
set(binaries)
foreach(file IN LISTS staged)
    file(READ "${file}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46") # "\x7fELF"
        list(APPEND binaries "${file}")
    endif()
endforeach()

find_program(QUANE_STRIP strip REQUIRED)
foreach(binary IN LISTS binaries)
    execute_process(COMMAND ${QUANE_STRIP} --remove-section=.comment --remove-section=.note --strip-unneeded
                            "${binary}" RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "strip failed on ${binary}:\n${errors}")
    endif()
endforeach()

# dpkg-shlibdeps wants a debian/control beside it, however empty.
set(work "${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps")
file(MAKE_DIRECTORY "${work}/debian")
file(TOUCH "${work}/debian/control")
execute_process(COMMAND dpkg-shlibdeps -O ${binaries}
    WORKING_DIRECTORY "${work}" RESULT_VARIABLE status OUTPUT_VARIABLE variables ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT variables MATCHES "shlibs:Depends=([^\n]*)")
    message(FATAL_ERROR "dpkg-shlibdeps failed on ${binaries}:\n${errors}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
