#include "capture/HookLibrary.h"

#include <dlfcn.h>

namespace capture {

const char HookLibrary::kLibraryFileName[] = "libHookmod.so";

HookLibrary::~HookLibrary() {
    // The library stays loaded: its thread may still run until process exit.
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

    const std::string path = folder + "/" + kLibraryFileName;
    library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) {
        const char* why = dlerror();
        return Fail(HookLinkStatus::LibraryNotFound, why ? why : path);
    }

    void* on = dlsym(library_, "HookOn");
    void* off = dlsym(library_, "HookOff");
    if (on == nullptr || off == nullptr)
        return Fail(HookLinkStatus::FunctionsMissing,
                    std::string(on == nullptr ? "HookOn" : "HookOff") + " missing in " + path);
    // Both or neither: a HookOn that could never be switched off is not kept.
    hookOn_ = reinterpret_cast<void (*)()>(on);
    hookOff_ = reinterpret_cast<void (*)()>(off);

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
