// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The DLL's own entry: hands JUCE the module's handle and keeps the module loaded.
#include <juce_core/juce_core.h>

#include "host/win32/WindowsHeaders.h"

extern "C" BOOL WINAPI DllMain (HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
    {
        // JUCE registers its window classes under this handle, not the host's.
        juce::Process::setCurrentModuleInstanceHandle (module);

        // JUCE's timer thread and hidden window outlive the last instance; a host that unloads
        // the module (even with an instance still open) must not pull the code from under them.
        HMODULE pinned = nullptr;
        GetModuleHandleExW (GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                            reinterpret_cast<LPCWSTR> (&DllMain), &pinned);
    }
    return TRUE;
}
