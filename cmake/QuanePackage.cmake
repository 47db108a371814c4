# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package of everything installed: the module, quane-render and quane-play, the
# player's desktop entry and icon, and the licence. Built with: cmake --build build --target package
set(QUANE_PACKAGE_FILES ${PROJECT_SOURCE_DIR}/tools/package)
if(TARGET quane-play)
    install(FILES ${QUANE_PACKAGE_FILES}/quane-play.desktop DESTINATION share/applications)
    install(FILES ${QUANE_PACKAGE_FILES}/quane-play.svg DESTINATION share/icons/hicolor/scalable/apps)
endif()
install(FILES ${QUANE_PACKAGE_FILES}/copyright DESTINATION share/doc/quane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quane)
set(CPACK_PACKAGE_VENDOR Brelloux)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ten-voice polyphonic wavetable synthesiser")
# The summary is the package's one-line synopsis; this is the text under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quane as a VST 2.x instrument module for Linux hosts (/usr/lib/vst/Kolv.so),\nthe stand-alone player quane-play (ALSA and JACK audio and MIDI) and the\ncommand-line renderer quane-render.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER Brelloux)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# Dependencies come from what the binaries link (dpkg-shlibdeps). JACK is opened at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libjack-jackd2-0 | libjack0")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "jackd2")
set(CPACK_STRIP_FILES ON)
include(CPack)
