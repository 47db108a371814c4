# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack on the staged files: the package's Depends from what its ELF files link, through dpkg-shlibdeps.
# CPack's own scan (CPACK_DEBIAN_PACKAGE_SHLIBDEPS) would also add ldconfig calls to the maintainer
# scripts for any shared object under /usr/lib, and the plug-ins there are no libraries.

file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
set(binaries)
foreach(file IN LISTS staged)
    file(READ "${file}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46") # "\x7fELF"
        list(APPEND binaries "${file}")
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
