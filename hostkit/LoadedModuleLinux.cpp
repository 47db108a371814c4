// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The module loaded as a Linux host loads it: dlopen and dlsym.
#include "hostkit/LoadedModule.h"

#include <dlfcn.h>

namespace quane::hostkit
{
void* LoadedModule::openLibrary (const std::string& path, std::string& reason)
{
    auto* library = dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        reason = dlerror();
    return library;
}

EntryFunction LoadedModule::findEntry (void* library, const char* name)
{
    return reinterpret_cast<EntryFunction> (dlsym (library, name));
}

void LoadedModule::closeLibrary (void* library)
{
    dlclose (library);
}
} // namespace quane::hostkit
