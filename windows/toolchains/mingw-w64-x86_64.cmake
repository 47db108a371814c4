# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows with MinGW-w64.
set(QUANE_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/MingwW64.cmake)
