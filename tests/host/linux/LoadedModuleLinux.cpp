// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The module loaded as a Linux host loads it: dlopen and dlsym.
#include "tests/host/HostTestSupport.h"

#include <dlfcn.h>

namespace quane::test
{
LoadedModule::LoadedModule()
{
    handle = dlopen (QUANE_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    if (handle != nullptr)
    {
        vstPluginMain = reinterpret_cast<EntryFunction> (dlsym (handle, "VSTPluginMain"));
        legacy = reinterpret_cast<EntryFunction> (dlsym (handle, "main"));
    }
}

LoadedModule::~LoadedModule()
{
    if (handle != nullptr)
        dlclose (handle);
}
} // namespace quane::test
