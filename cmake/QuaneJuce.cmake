# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# JUCE from Debian, compiled once into one static, position-independent library (on Windows from a
# patched copy of the module sources, see QuaneJuceWindows.cmake).

if(NOT WIN32)
find_package(JUCE 7.0.5 CONFIG QUIET)
if(NOT JUCE_FOUND)
    message(FATAL_ERROR "JUCE 7 was not found. Install the Debian package 'juce-modules-source' "
                        "(tools/setup.sh installs every package the build needs).")
endif()

find_package(PkgConfig QUIET)
if(NOT PKG_CONFIG_FOUND)
    message(FATAL_ERROR "pkg-config was not found. Install the Debian package 'pkgconf'.")
endif()

function(quane_require_pkg var module debian_package)
    pkg_check_modules(${var} QUIET IMPORTED_TARGET ${module})
    if(NOT ${var}_FOUND)
        message(FATAL_ERROR "${module} was not found. Install the Debian package '${debian_package}'.")
    endif()
endfunction()

quane_require_pkg(QUANE_FREETYPE freetype2 libfreetype-dev)
quane_require_pkg(QUANE_X11 x11 libx11-dev)
quane_require_pkg(QUANE_XEXT xext libxext-dev)
quane_require_pkg(QUANE_XRANDR xrandr libxrandr-dev)
quane_require_pkg(QUANE_XRENDER xrender libxrender-dev)
quane_require_pkg(QUANE_XINERAMA xinerama libxinerama-dev)
quane_require_pkg(QUANE_XCURSOR xcursor libxcursor-dev)
quane_require_pkg(QUANE_JPEG libjpeg libjpeg-dev)
quane_require_pkg(QUANE_PNG libpng libpng-dev)
quane_require_pkg(QUANE_ZLIB zlib zlib1g-dev)
endif()

set(QUANE_JUCE_MODULES
    juce_core juce_events juce_data_structures juce_graphics juce_gui_basics
    juce_audio_basics juce_audio_formats)

set(QUANE_JUCE_DEFINITIONS
    JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
    # juce_add_plugin's targets define it themselves (as 0 too).
    $<$<NOT:$<OR:$<BOOL:$<TARGET_PROPERTY:JUCE_IS_PLUGIN>>,$<BOOL:$<TARGET_PROPERTY:JUCE_TARGET_KIND_STRING>>>>:JUCE_STANDALONE_APPLICATION=0>
    JUCE_USE_CURL=0
    JUCE_WEB_BROWSER=0
    JUCE_USE_FLAC=0
    JUCE_USE_OGGVORBIS=0
    JUCE_USE_MP3AUDIOFORMAT=0
    JUCE_USE_LAME_AUDIO_FORMAT=0
    JUCE_USE_WINDOWS_MEDIA_FORMAT=0
    JUCE_MODAL_LOOPS_PERMITTED=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_USE_XSHM=1
    JUCE_CHECK_MEMORY_LEAKS=0)
foreach(module IN LISTS QUANE_JUCE_MODULES)
    list(APPEND QUANE_JUCE_DEFINITIONS JUCE_MODULE_AVAILABLE_${module}=1)
endforeach()

if(WIN32)
    include(${PROJECT_SOURCE_DIR}/windows/QuaneJuceWindows.cmake)
    return()
endif()

add_library(quane_juce STATIC)
foreach(module IN LISTS QUANE_JUCE_MODULES)
    target_link_libraries(quane_juce PRIVATE juce::${module})
endforeach()
target_compile_definitions(quane_juce PUBLIC ${QUANE_JUCE_DEFINITIONS})
target_include_directories(quane_juce SYSTEM PUBLIC /usr/share/juce/modules)
target_compile_features(quane_juce PUBLIC cxx_std_17)
target_link_libraries(quane_juce PUBLIC
    PkgConfig::QUANE_FREETYPE PkgConfig::QUANE_X11 PkgConfig::QUANE_XEXT
    PkgConfig::QUANE_XRANDR PkgConfig::QUANE_XRENDER PkgConfig::QUANE_XINERAMA
    PkgConfig::QUANE_XCURSOR PkgConfig::QUANE_JPEG PkgConfig::QUANE_PNG PkgConfig::QUANE_ZLIB
    ${CMAKE_DL_LIBS} pthread rt)
