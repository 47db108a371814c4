// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The module loaded as a Windows host loads it: LoadLibrary and GetProcAddress.
#include "hostkit/LoadedModule.h"

#include "host/win32/WindowsHeaders.h"

namespace quane::hostkit
{
void* LoadedModule::openLibrary (const std::string& path, std::string& reason)
{
    auto* library = LoadLibraryA (path.c_str());
    if (library == nullptr)
        reason = "LoadLibrary failed with error " + std::to_string (GetLastError());
    return library;
}

EntryFunction LoadedModule::findEntry (void* library, const char* name)
{
    // GetProcAddress answers a generic function pointer; the entry's own type goes through void*.
    const auto address = GetProcAddress (static_cast<HMODULE> (library), name);
    return reinterpret_cast<EntryFunction> (reinterpret_cast<void*> (address));
}

void LoadedModule::closeLibrary (void* library)
{
    FreeLibrary (static_cast<HMODULE> (library));
}
} // namespace quane::hostkit
