// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a module file and finding its entries, over the platform's loader.
#include "hostkit/LoadedModule.h"

namespace quane::hostkit
{
LoadedModule::LoadedModule (const std::string& modulePath) : path (modulePath)
{
    library = openLibrary (path, error);
    if (library == nullptr)
        return;

    pluginMain = findEntry (library, "VSTPluginMain");
    legacyMain = findEntry (library, "main");
    if (! isLoaded())
        error = "it exports neither VSTPluginMain nor main";
}

LoadedModule::~LoadedModule()
{
    if (library != nullptr)
        closeLibrary (library);
}
} // namespace quane::hostkit
