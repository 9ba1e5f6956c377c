// The program's window, as Hookmod.dll finds it in the mapping (HookMapping.h).
#pragma once

#include <windows.h>

namespace hookmod::windows {

// The window named in the mapping; null when the mapping is missing or
// holds 0. Opened and closed again on every call, so a mapping the program
// makes or rewrites later is picked up at the next key.
HWND ReadTargetWindow();

}  // namespace hookmod::windows
