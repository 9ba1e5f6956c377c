// The hook library link on Windows: Hookmod.dll from the program's folder.
#include <windows.h>

#include <string>

#include "capture/HookLibrary.h"
#include "capture/windows/WideText.h"

namespace capture {

const char HookLibrary::kLibraryFileName[] = "Hookmod.dll";

void* HookLibrary::OpenLibrary(const std::string& folder, std::string& path, std::string& error) {
    // The folder may hold any character (a user name in Chinese): the wide call.
    path = folder + "\\" + kLibraryFileName;
    HMODULE module = LoadLibraryW(WideFromUtf8(path).c_str());
    if (module == nullptr) error = SystemErrorText(path, GetLastError());
    return module;
}

HookLibrary::HookFunction HookLibrary::Export(void* library, const char* name) {
    return reinterpret_cast<HookFunction>(
        reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name)));
}

std::string HookLibrary::HookErrorText(unsigned long code) {
    return SystemErrorText("SetWindowsHookEx", static_cast<DWORD>(code));
}

}  // namespace capture
