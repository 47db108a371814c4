// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A module file opened as a music host opens it, with the entry functions it exports.
#pragma once

#include "host/VstAbi.h"

#include <string>

namespace quane::hostkit
{
/** A module's exported entry: called with the host's callback, it answers a new instance's
    AEffect, or null. */
using EntryFunction = vst::AEffect* (*) (vst::AudioMasterCallback);

/** A module file opened as hosts open it (dlopen on Linux, LoadLibrary on Windows) and closed
    with the object; close the instances made through its entry first. Plain C++: processes that
    must not start a GUI library of their own use it too. */
class LoadedModule
{
public:
    explicit LoadedModule (const std::string& path);
    ~LoadedModule();

    LoadedModule (const LoadedModule&) = delete;
    LoadedModule& operator= (const LoadedModule&) = delete;

    const std::string& getPath() const noexcept { return path; }

    /** Whether the file loaded and exports an entry; getError says why not. */
    bool isLoaded() const noexcept { return getEntry() != nullptr; }
    const std::string& getError() const noexcept { return error; }

    /** VSTPluginMain, which hosts look for first, else the older main. */
    EntryFunction getEntry() const noexcept { return pluginMain != nullptr ? pluginMain : legacyMain; }
    EntryFunction getPluginMain() const noexcept { return pluginMain; }
    EntryFunction getLegacyMain() const noexcept { return legacyMain; }

private:
    // The platform's loader, one source per platform: null and the reason when the file does not load.
    static void* openLibrary (const std::string& path, std::string& reason);
    static EntryFunction findEntry (void* library, const char* name);
    static void closeLibrary (void* library);

    std::string path, error;
    void* library = nullptr;
    EntryFunction pluginMain = nullptr, legacyMain = nullptr;
};
} // namespace quane::hostkit
