# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 32-bit Windows with MinGW-w64.
set(QUANE_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/MingwW64.cmake)

# Float and double arithmetic in SSE registers, as on x86-64: the x87 unit would keep
# intermediate results in extended precision and change the sound.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
