// The hook library link on Windows: Hookmod.dll from the program's folder.
#include <windows.h>

#include <string>

#include "capture/HookLibrary.h"
#include "capture/windows/WideText.h"

namespace capture {

const char HookLibrary::kLibraryFileName[] = "Hookmod.dll";

HookLibrary::~HookLibrary() {
    // The library stays loaded: its hook may still be installed.
}

HookLinkStatus HookLibrary::Fail(HookLinkStatus status, std::string detail) {
    detail_ = std::move(detail);
    return status;
}

HookLinkStatus HookLibrary::Load(const std::string& folder, std::uint32_t windowId,
                                 std::string_view blockName) {
    detail_.clear();
    hookOn_ = hookOff_ = nullptr;
    block_.Close();

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

    switch (block_.Publish(blockName, windowId)) {
        case WindowIdBlock::Result::CreateFailed:
            return Fail(HookLinkStatus::BlockFailed, block_.FailureDetail());
        case WindowIdBlock::Result::WriteFailed:
            return Fail(HookLinkStatus::WindowIdNotWritten, block_.FailureDetail());
        case WindowIdBlock::Result::Ok:
            break;
    }
    return HookLinkStatus::Ok;
}

void HookLibrary::CallHookOn() const {
    if (HasHooks()) hookOn_();
}

void HookLibrary::CallHookOff() const {
    if (HasHooks()) hookOff_();
}

}  // namespace capture
