#include <windows.h>

#include <filesystem>
#include <string>

#include "capture/ExecutableFolder.h"
#include "capture/windows/WideText.h"

namespace capture {

// The folder of the running .exe, in UTF-8; empty when it cannot be found.
std::string ExecutableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);  // truncated: try a longer buffer
    }
    return Utf8FromWide(std::filesystem::path(path).parent_path().wstring());
}

}  // namespace capture
