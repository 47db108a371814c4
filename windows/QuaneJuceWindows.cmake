# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# JUCE for the MinGW-w64 build: Debian's module sources (juce-modules-source-data), copied into the
# build folder with windows/juce-7.0.5-mingw.patch (and cmake/juce-7.0.5-plugin-client.patch)
# applied, compiled into one static library.
# Included by QuaneJuce.cmake, which names the modules and their settings.

set(QUANE_JUCE_SOURCE_DIR /usr/share/juce/modules CACHE PATH "Debian's JUCE module sources")
set(QUANE_WINDOWS_THIRD_PARTY "" CACHE PATH
    "Prefix holding the MinGW-w64 builds of libpng and libjpeg (windows/build-third-party.sh)")

if(NOT EXISTS ${QUANE_JUCE_SOURCE_DIR}/juce_core/juce_core.h)
    message(FATAL_ERROR "JUCE's modules were not found in ${QUANE_JUCE_SOURCE_DIR}. Install the Debian "
                        "package 'juce-modules-source-data' (tools/setup-windows.sh does).")
endif()
foreach(library png jpeg)
    if(NOT EXISTS ${QUANE_WINDOWS_THIRD_PARTY}/lib/lib${library}.a)
        message(FATAL_ERROR "lib${library}.a was not found under QUANE_WINDOWS_THIRD_PARTY "
                            "('${QUANE_WINDOWS_THIRD_PARTY}'): build it with windows/build-third-party.sh.")
    endif()
endforeach()
find_library(QUANE_MINGW_ZLIB NAMES libz.a z)
if(NOT QUANE_MINGW_ZLIB)
    message(FATAL_ERROR "zlib for MinGW-w64 was not found. Install the Debian package 'libz-mingw-w64-dev'.")
endif()

# The patched copy, made again whenever the patch or the copied modules change. The VST3 plug-in
# also needs JUCE's processors and its plug-in client (cmake/QuaneJucePlugin.cmake, formats/).
set(QUANE_JUCE_PATCH ${PROJECT_SOURCE_DIR}/windows/juce-7.0.5-mingw.patch)
set(QUANE_JUCE_COPY ${PROJECT_BINARY_DIR}/juce-modules)
set(QUANE_JUCE_CLIENT_PATCH ${PROJECT_SOURCE_DIR}/cmake/juce-7.0.5-plugin-client.patch)
set(QUANE_JUCE_COPIED_MODULES ${QUANE_JUCE_MODULES} juce_gui_extra juce_audio_processors juce_audio_plugin_client)
file(SHA256 ${QUANE_JUCE_PATCH} QUANE_JUCE_PATCH_HASH)
file(SHA256 ${QUANE_JUCE_CLIENT_PATCH} QUANE_JUCE_CLIENT_PATCH_HASH)
string(SHA256 QUANE_JUCE_PATCH_HASH "${QUANE_JUCE_PATCH_HASH}${QUANE_JUCE_CLIENT_PATCH_HASH}${QUANE_JUCE_COPIED_MODULES}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUANE_JUCE_PATCH} ${QUANE_JUCE_CLIENT_PATCH})
if(NOT EXISTS ${QUANE_JUCE_COPY}/patched-${QUANE_JUCE_PATCH_HASH})
    file(REMOVE_RECURSE ${QUANE_JUCE_COPY})
    foreach(module IN LISTS QUANE_JUCE_COPIED_MODULES)
        file(COPY ${QUANE_JUCE_SOURCE_DIR}/${module} DESTINATION ${QUANE_JUCE_COPY})
    endforeach()
    foreach(patch_file ${QUANE_JUCE_PATCH} ${QUANE_JUCE_CLIENT_PATCH})
        execute_process(COMMAND patch -p1 --binary --quiet -i ${patch_file}
                        WORKING_DIRECTORY ${QUANE_JUCE_COPY} RESULT_VARIABLE QUANE_PATCH_RESULT)
        if(NOT QUANE_PATCH_RESULT EQUAL 0)
            message(FATAL_ERROR "${patch_file} does not apply to the modules in ${QUANE_JUCE_SOURCE_DIR}.")
        endif()
    endforeach()
    file(TOUCH ${QUANE_JUCE_COPY}/patched-${QUANE_JUCE_PATCH_HASH})
endif()

add_library(quane_juce STATIC)
foreach(module IN LISTS QUANE_JUCE_MODULES)
    target_sources(quane_juce PRIVATE ${QUANE_JUCE_COPY}/${module}/${module}.cpp)
endforeach()
target_compile_definitions(quane_juce PUBLIC ${QUANE_JUCE_DEFINITIONS} JUCE_USE_DIRECTWRITE=0)
# The jpeglib.h wrapper comes before the library's own header.
target_include_directories(quane_juce SYSTEM PUBLIC
    ${PROJECT_SOURCE_DIR}/windows/include ${QUANE_JUCE_COPY} ${QUANE_WINDOWS_THIRD_PARTY}/include)
target_compile_features(quane_juce PUBLIC cxx_std_17)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    # juce_gui_basics has more sections than the default object format allows without optimisation.
    target_compile_options(quane_juce PRIVATE -Wa,-mbig-obj)
endif()
# MinGW ignores JUCE's #pragma comment (lib): every Windows library is named here.
target_link_libraries(quane_juce PUBLIC
    ${QUANE_WINDOWS_THIRD_PARTY}/lib/libpng.a ${QUANE_WINDOWS_THIRD_PARTY}/lib/libjpeg.a ${QUANE_MINGW_ZLIB}
    winmm ole32 oleaut32 uuid rpcrt4 gdi32 user32 kernel32 advapi32 comdlg32 comctl32 imm32 shlwapi shell32
    version ws2_32 wininet dwmapi dxgi vfw32)

# The build's counterpart of juce_add_binary_data (whose helper program is a Linux tool): the files
# as constant byte arrays in a namespace, with <name>_<ext> and <name>_<ext>Size for each.
function(quane_add_binary_data target)
    cmake_parse_arguments(PARSE_ARGV 1 DATA "" "HEADER_NAME;NAMESPACE" "SOURCES")
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/${target})
    add_custom_command(OUTPUT ${folder}/${DATA_HEADER_NAME} ${folder}/${target}.cpp
        COMMAND ${CMAKE_COMMAND} -DOUTPUT_DIR=${folder} -DHEADER_NAME=${DATA_HEADER_NAME}
                -DNAMESPACE=${DATA_NAMESPACE} -DSOURCE_NAME=${target} "-DFILES=${DATA_SOURCES}"
                -P ${PROJECT_SOURCE_DIR}/windows/EmbedBinaryData.cmake
        DEPENDS ${DATA_SOURCES} ${PROJECT_SOURCE_DIR}/windows/EmbedBinaryData.cmake
        VERBATIM)
    add_library(${target} STATIC ${folder}/${target}.cpp)
    target_include_directories(${target} INTERFACE ${folder})
endfunction()

# JUCE's CMake functions (juce_add_plugin) from Debian's JUCE package, with the plug-in client's
# module from the patched copy; juceaide, a build-machine program, runs as it is.
set(QUANE_JUCE_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake/JUCE-7.0.5 CACHE PATH "Debian's JUCE CMake package")
if(NOT EXISTS ${QUANE_JUCE_CMAKE_DIR}/JUCEUtils.cmake)
    message(FATAL_ERROR "JUCE's CMake package was not found in ${QUANE_JUCE_CMAKE_DIR}. Install the Debian "
                        "package 'juce-modules-source' (tools/setup-windows.sh does).")
endif()
include(${QUANE_JUCE_CMAKE_DIR}/JUCEModuleSupport.cmake)
include(${QUANE_JUCE_CMAKE_DIR}/JUCEUtils.cmake)
add_executable(juce::juceaide IMPORTED)
set_target_properties(juce::juceaide PROPERTIES IMPORTED_LOCATION /usr/lib/x86_64-linux-gnu/juce/juceaide)
juce_add_module(${QUANE_JUCE_COPY}/juce_audio_plugin_client ALIAS_NAMESPACE juce)
