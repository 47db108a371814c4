// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The DLL as Windows' loader sees it: its export table and the DLLs it imports from.
#include "host/win32/WindowsHeaders.h"
#include "tests/host/HostTestSupport.h"
#include "tests/windows/WineTestEnvironment.h"

#include <gtest/gtest.h>

#include <set>

namespace quane::test
{
namespace
{
/** The loaded image's headers and one of its data directories. */
struct LoadedImage
{
    explicit LoadedImage (HMODULE module) : base (reinterpret_cast<const unsigned char*> (module))
    {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*> (base);
        headers = reinterpret_cast<const IMAGE_NT_HEADERS*> (base + dos->e_lfanew);
    }

    template <typename Record>
    const Record* directory (int entry) const
    {
        const auto& data = headers->OptionalHeader.DataDirectory[entry];
        return data.VirtualAddress == 0 ? nullptr : reinterpret_cast<const Record*> (base + data.VirtualAddress);
    }

    const char* text (DWORD rva) const { return reinterpret_cast<const char*> (base + rva); }

    const unsigned char* base;
    const IMAGE_NT_HEADERS* headers;
};

HMODULE moduleHandle()
{
    return GetModuleHandleA ("Kolv.dll");
}
} // namespace

TEST (ModuleImage, ExportsExactlyTheTwoEntryNamesForOneFunction)
{
    ASSERT_TRUE (sharedModule().isLoaded());
    ASSERT_NE (moduleHandle(), nullptr);
    const LoadedImage image (moduleHandle());
    const auto* exports = image.directory<IMAGE_EXPORT_DIRECTORY> (IMAGE_DIRECTORY_ENTRY_EXPORT);
    ASSERT_NE (exports, nullptr);

    std::set<std::string> names;
    const auto* nameRvas = reinterpret_cast<const DWORD*> (image.base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.insert (image.text (nameRvas[i]));
    EXPECT_EQ (names, (std::set<std::string> { "VSTPluginMain", "main" }));
    EXPECT_EQ (exports->NumberOfNames, 2u);
    EXPECT_EQ (sharedModule().getPluginMain(), sharedModule().getLegacyMain());
}

TEST (ModuleImage, ImportsOnlyFromWindowsOwnDlls)
{
    ASSERT_NE (moduleHandle(), nullptr);
    const LoadedImage image (moduleHandle());
    char systemFolder[MAX_PATH] = {};
    ASSERT_GT (GetSystemDirectoryA (systemFolder, MAX_PATH), 0u);

    int dlls = 0;
    for (auto* import = image.directory<IMAGE_IMPORT_DESCRIPTOR> (IMAGE_DIRECTORY_ENTRY_IMPORT);
         import != nullptr && import->Name != 0; ++import, ++dlls)
    {
        const std::string name = image.text (import->Name);
        SCOPED_TRACE (name);
        // A runtime of the compiler (libstdc++, libgcc, winpthread) would have to ship beside it.
        EXPECT_NE (GetFileAttributesA (inFolder (systemFolder, name).c_str()), INVALID_FILE_ATTRIBUTES)
            << "not one of Windows' own DLLs";
    }
    EXPECT_GE (dlls, 3) << "kernel32, user32 and gdi32 at least";
}
} // namespace quane::test
