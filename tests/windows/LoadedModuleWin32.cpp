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
namespace
{
/** GetProcAddress answers a generic function pointer; the entry's own type goes through void*. */
EntryFunction entryNamed (HMODULE module, const char* name)
{
    return reinterpret_cast<EntryFunction> (reinterpret_cast<void*> (GetProcAddress (module, name)));
}
} // namespace

LoadedModule::LoadedModule()
{
    handle = LoadLibraryA (environmentPath ("QUANE_MODULE_PATH").c_str());
    if (handle != nullptr)
    {
        const auto module = static_cast<HMODULE> (handle);
        vstPluginMain = entryNamed (module, "VSTPluginMain");
        legacy = entryNamed (module, "main");
    }
}

LoadedModule::~LoadedModule()
{
    if (handle != nullptr)
        FreeLibrary (static_cast<HMODULE> (handle));
}
} // namespace quane::test
