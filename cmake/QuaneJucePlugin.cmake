# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# JUCE's processor modules for the VST3 and LV2 plug-ins, compiled once beside the JUCE library
# (quane_juce) with the same settings, so that JUCE's plug-in clients compile only their own sources.
# quane_add_juce_processors(target [HOSTING]): HOSTING also compiles JUCE's VST3 host (test hosts).
# JUCE's VST3 client is compiled from a copy with cmake/juce-7.0.5-plugin-client.patch applied.

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

# The plug-in client module from a copy with the patch applied, made again whenever the patch
# changes (on Windows the patched copy of all modules has it already). JUCE's CMake gives every
# format's target the files of every client; each compiles its own client alone here.
set(QUANE_PLUGIN_CLIENT_PATCH ${PROJECT_SOURCE_DIR}/cmake/juce-7.0.5-plugin-client.patch)
if(WIN32)
    set(QUANE_PLUGIN_CLIENT_DIR ${QUANE_JUCE_COPY}/juce_audio_plugin_client)
else()
    set(copy ${PROJECT_BINARY_DIR}/juce-plugin-client)
    file(SHA256 ${QUANE_PLUGIN_CLIENT_PATCH} hash)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUANE_PLUGIN_CLIENT_PATCH})
    if(NOT EXISTS ${copy}/patched-${hash})
        file(REMOVE_RECURSE ${copy})
        file(COPY /usr/share/juce/modules/juce_audio_plugin_client DESTINATION ${copy})
        execute_process(COMMAND patch -p1 --binary --quiet -i ${QUANE_PLUGIN_CLIENT_PATCH}
                        WORKING_DIRECTORY ${copy} RESULT_VARIABLE result)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "${QUANE_PLUGIN_CLIENT_PATCH} does not apply to Debian's JUCE plug-in client.")
        endif()
        file(TOUCH ${copy}/patched-${hash})
    endif()
    set(QUANE_PLUGIN_CLIENT_DIR ${copy}/juce_audio_plugin_client)
endif()
foreach(format VST3 LV2)
    set_property(TARGET juce_audio_plugin_client_${format} PROPERTY INTERFACE_SOURCES
                 ${QUANE_PLUGIN_CLIENT_DIR}/juce_audio_plugin_client_${format}.cpp)
    # The module's own headers from the copy too, never half from the copy, half from Debian's.
    get_filename_component(client_parent ${QUANE_PLUGIN_CLIENT_DIR} DIRECTORY)
    set_property(TARGET juce_audio_plugin_client_${format} PROPERTY INTERFACE_INCLUDE_DIRECTORIES ${client_parent})
endforeach()
