// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The module loaded as a Windows host loads it: LoadLibrary and GetProcAddress, from the path in
// QUANE_MODULE_PATH.
#include "tests/host/HostTestSupport.h"
#include "tests/windows/WineTestEnvironment.h"

#ifndef NOMINMAX
 #define NOMINMAX
#endif
#include <windows.h>

namespace quane::test
{
LoadedModule::LoadedModule()
{
    handle = LoadLibraryA (environmentPath ("QUANE_MODULE_PATH").c_str());
    if (handle != nullptr)
    {
        const auto module = static_cast<HMODULE> (handle);
        vstPluginMain = reinterpret_cast<EntryFunction> (GetProcAddress (module, "VSTPluginMain"));
        legacy = reinterpret_cast<EntryFunction> (GetProcAddress (module, "main"));
    }
}

LoadedModule::~LoadedModule()
{
    if (handle != nullptr)
        FreeLibrary (static_cast<HMODULE> (handle));
}
} // namespace quane::test
