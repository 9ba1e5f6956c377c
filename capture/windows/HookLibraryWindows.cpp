// The hook library link on Windows: Hookmod.dll from the program's folder,
// and the paging-file mapping that names the window.
#include <windows.h>

#include <cstring>
#include <string>

#include "capture/HookLibrary.h"
#include "capture/windows/WideText.h"
#include "hookmod/windows/HookMapping.h"

namespace capture {

const char HookLibrary::kLibraryFileName[] = "Hookmod.dll";

HookLibrary::~HookLibrary() {
    // The library stays loaded: its hook may still be installed.
    if (mapping_ != nullptr) CloseHandle(mapping_);
}

HookLinkStatus HookLibrary::Fail(HookLinkStatus status, std::string detail) {
    detail_ = std::move(detail);
    return status;
}

HookLinkStatus HookLibrary::Load(const std::string& folder, std::uint32_t windowId,
                                 std::string_view blockName) {
    detail_.clear();
    hookOn_ = hookOff_ = nullptr;
    if (mapping_ != nullptr) {
        CloseHandle(mapping_);
        mapping_ = nullptr;
    }

    // The folder may hold any character (a user name in Chinese): the wide call.
    const std::string path = folder + "\\" + kLibraryFileName;
    HMODULE module = LoadLibraryW(WideFromUtf8(path).c_str());
    if (module == nullptr) return Fail(HookLinkStatus::LibraryNotFound, SystemErrorText(path, GetLastError()));
    library_ = module;

    auto on = reinterpret_cast<void (*)()>(reinterpret_cast<void*>(GetProcAddress(module, "HookOn")));
    auto off = reinterpret_cast<void (*)()>(reinterpret_cast<void*>(GetProcAddress(module, "HookOff")));
    if (on == nullptr || off == nullptr)
        return Fail(HookLinkStatus::FunctionsMissing,
                    std::string(on == nullptr ? "HookOn" : "HookOff") + " missing in " + path);
    // Both or neither: a HookOn that could never be switched off is not kept.
    hookOn_ = on;
    hookOff_ = off;

    // Made, or reused when another instance made it already.
    const std::string name(blockName.empty() ? hookmsg::windows::kHookMappingName : blockName);
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        hookmsg::kHookWindowBlockSize, name.c_str());
    if (mapping == nullptr) return Fail(HookLinkStatus::BlockFailed, SystemErrorText(name, GetLastError()));
    mapping_ = mapping;

    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, hookmsg::kHookWindowBlockSize);
    if (view == nullptr)
        return Fail(HookLinkStatus::WindowIdNotWritten, SystemErrorText(name, GetLastError()));
    std::memcpy(view, &windowId, sizeof windowId);
    UnmapViewOfFile(view);
    return HookLinkStatus::Ok;
}

void HookLibrary::CallHookOn() const {
    if (HasHooks()) hookOn_();
}

void HookLibrary::CallHookOff() const {
    if (HasHooks()) hookOff_();
}

}  // namespace capture
