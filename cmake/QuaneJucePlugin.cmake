# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# JUCE's processor modules for the VST3 and LV2 plug-ins, compiled once beside the JUCE library
# (quane_juce) with the same settings, so that JUCE's plug-in clients compile only their own sources.
# quane_add_juce_processors(target [HOSTING]): HOSTING also compiles JUCE's VST3 host (test hosts).

function(quane_add_juce_processors target)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "HOSTING" "" "")
    if(WIN32)
        set(modules_dir ${QUANE_JUCE_COPY})
    else()
        set(modules_dir /usr/share/juce/modules)
    endif()
    # juce_gui_extra, which the processors need, compiles the same for both kinds: once.
    if(NOT TARGET quane_juce_gui_extra)
        add_library(quane_juce_gui_extra STATIC ${modules_dir}/juce_gui_extra/juce_gui_extra.cpp)
        target_link_libraries(quane_juce_gui_extra PUBLIC quane_juce)
        target_compile_definitions(quane_juce_gui_extra PUBLIC JUCE_MODULE_AVAILABLE_juce_gui_extra=1)
    endif()
    add_library(${target} STATIC ${modules_dir}/juce_audio_processors/juce_audio_processors.cpp)
    target_link_libraries(${target} PUBLIC quane_juce_gui_extra)
    target_compile_definitions(${target} PUBLIC
        JUCE_MODULE_AVAILABLE_juce_audio_processors=1
        JUCE_PLUGINHOST_VST3=$<BOOL:${ARG_HOSTING}>
        JUCE_PLUGINHOST_LV2=0
        JUCE_PLUGINHOST_VST=0
        JUCE_PLUGINHOST_AU=0
        JUCE_PLUGINHOST_LADSPA=0
        JUCE_PLUGINHOST_ARA=0)
    # The SDKs inside juce_audio_processors, as JUCE's own module targets name them.
    set(sdks ${modules_dir}/juce_audio_processors/format_types)
    target_include_directories(${target} SYSTEM PUBLIC ${sdks}/VST3_SDK ${sdks}/LV2_SDK ${sdks}/LV2_SDK/lv2)
    if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
        target_compile_options(${target} PRIVATE -Wa,-mbig-obj)
    endif()
endfunction()
