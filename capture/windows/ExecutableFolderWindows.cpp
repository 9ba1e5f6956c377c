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

std::string TemporaryFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) return {};
    // GetTempPathW may give 8.3 names ("C:\Users\LIWEIM~1\..."); the program's
    // own path has long ones.
    std::wstring path(temp, n);
    const DWORD needed = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (needed > 0) {
        std::wstring longPath(needed, L'\0');
        const DWORD got = GetLongPathNameW(path.c_str(), longPath.data(), needed);
        if (got > 0 && got < needed) {
            longPath.resize(got);
            path = longPath;
        }
    }
    return Utf8FromWide(path);
}

}  // namespace capture
