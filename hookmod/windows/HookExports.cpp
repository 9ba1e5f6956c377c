// Hookmod.dll's exports, HookOn and HookOff, and HookOnError for the
// program to learn whether HookOn's hook is in place (Hookmod.def keeps
// their names undecorated and the only ones).
#include <windows.h>

#include "hookmod/windows/KeyboardHook.h"

namespace {

hookmod::windows::KeyboardHook* g_hook = nullptr;

}  // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(module);
        g_hook = new hookmod::windows::KeyboardHook(module);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded (not the process ending): the hook must not outlive its code.
        delete g_hook;
        g_hook = nullptr;
    }
    return TRUE;
}

extern "C" void HookOn(void) {
    if (g_hook != nullptr) g_hook->On();
}

extern "C" void HookOff(void) {
    if (g_hook != nullptr) g_hook->Off();
}

// The system's error of the last HookOn; 0 when its hook is installed.
extern "C" unsigned long HookOnError(void) {
    return g_hook != nullptr ? g_hook->OnError() : ERROR_DLL_INIT_FAILED;
}
