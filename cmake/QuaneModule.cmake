# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# The VST 2.x module Kolv.so (Kolv.dll on Windows): the entry plus the core, exporting nothing but the
# two entry symbols.

add_library(Kolv MODULE ${PROJECT_SOURCE_DIR}/host/PluginEntry.cpp)
target_link_libraries(Kolv PRIVATE quane_core quane_engine quane_juce)
target_compile_options(Kolv PRIVATE ${QUANE_WARNINGS})

if(WIN32)
    set(QUANE_DEF_FILE ${PROJECT_SOURCE_DIR}/cmake/windows/Kolv.def)
    target_sources(Kolv PRIVATE ${PROJECT_SOURCE_DIR}/host/win32/DllMain.cpp)
    set_target_properties(Kolv PROPERTIES OUTPUT_NAME Kolv PREFIX "" SUFFIX ".dll")
    # Everything linked in, so that the DLL needs nothing but Windows' own DLLs; the .def file names
    # the exports (and only those), including "main", which C++ cannot define.
    target_link_options(Kolv PRIVATE -static -static-libgcc -static-libstdc++ -s ${QUANE_DEF_FILE})
    set_property(TARGET Kolv APPEND PROPERTY LINK_DEPENDS ${QUANE_DEF_FILE})
else()
    set_target_properties(Kolv PROPERTIES OUTPUT_NAME Kolv PREFIX "" SUFFIX ".so")
    set(QUANE_EXPORTS_SCRIPT ${PROJECT_SOURCE_DIR}/cmake/QuaneModule.exports)
    # Hidden everything, statics excluded from export, own symbols bound inside: two JUCE-based
    # modules in one host cannot merge their JUCE copies. nodelete keeps the code mapped when a
    # host unloads it with an instance (and JUCE's timer thread) still alive.
    target_link_options(Kolv PRIVATE
        -Wl,--version-script=${QUANE_EXPORTS_SCRIPT}
        -Wl,--exclude-libs,ALL
        -Wl,-Bsymbolic
        -Wl,-z,nodelete)
    # clang's sanitizer and coverage runtimes live in the host executable, not in the module.
    if(NOT (CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND (QUANE_SANITIZE OR QUANE_FUZZ)))
        target_link_options(Kolv PRIVATE -Wl,-z,defs)
    endif()
    set_property(TARGET Kolv APPEND PROPERTY LINK_DEPENDS ${QUANE_EXPORTS_SCRIPT})
endif()

install(TARGETS Kolv LIBRARY DESTINATION lib/vst)
