# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Shared part of the MinGW-w64 toolchain files: set QUANE_MINGW_ARCH (i686 or x86_64) before
# including. The -posix compilers: JUCE needs std::mutex and std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUANE_MINGW_ARCH})

set(QUANE_MINGW_TRIPLE ${QUANE_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${QUANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUANE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
