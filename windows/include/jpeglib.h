// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// libjpeg's header as JUCE's decoder includes it on Windows, inside a namespace of its own.
//
// windows.h (rpcndr.h) already defines ::boolean as unsigned char, so libjpeg's jconfig.h skips its
// own typedef of the same type, and the decoder's namespace would have no 'boolean'. Found first
// on the include path of the Windows build only.
#include_next <jpeglib.h>

#ifdef __RPCNDR_H__
typedef ::boolean boolean;
#endif
