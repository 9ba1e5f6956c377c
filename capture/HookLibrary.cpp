#include "capture/HookLibrary.h"

namespace capture {

HookLibrary::~HookLibrary() {
    // The library stays loaded: its thread or hook may still run until the
    // process exits.
}

HookLinkStatus HookLibrary::Fail(HookLinkStatus status, std::string detail) {
    detail_ = std::move(detail);
    return status;
}

HookLinkStatus HookLibrary::Load(const std::string& folder, std::uint32_t windowId,
                                 std::string_view blockName) {
    detail_.clear();
    hookOn_ = hookOff_ = nullptr;
    hookOnError_ = nullptr;
    published_ = false;
    block_.Close();

    std::string path;
    std::string error;
    library_ = OpenLibrary(folder, path, error);
    if (library_ == nullptr) return Fail(HookLinkStatus::LibraryNotFound, error);

    const auto on = Export(library_, "HookOn");
    const auto off = Export(library_, "HookOff");
    if (on == nullptr || off == nullptr)
        return Fail(HookLinkStatus::FunctionsMissing,
                    std::string(on == nullptr ? "HookOn" : "HookOff") + " missing in " + path);
    // Both or neither: a HookOn that could never be switched off is not kept.
    hookOn_ = on;
    hookOff_ = off;
    hookOnError_ = reinterpret_cast<HookErrorFunction>(Export(library_, "HookOnError"));
    blockName_ = std::string(blockName);
    windowId_ = windowId;

    switch (block_.Publish(blockName, windowId)) {
        case WindowIdBlock::Result::CreateFailed:
            return Fail(HookLinkStatus::BlockFailed, block_.FailureDetail());
        case WindowIdBlock::Result::WriteFailed:
            return Fail(HookLinkStatus::WindowIdNotWritten, block_.FailureDetail());
        case WindowIdBlock::Result::Ok:
            break;
    }
    published_ = true;
    return HookLinkStatus::Ok;
}

bool HookLibrary::CallHookOn() {
    hookOnFailure_.clear();
    if (!HasHooks()) return true;
    if (published_ && block_.Publish(blockName_, windowId_) != WindowIdBlock::Result::Ok) {
        hookOnFailure_ = "the window could not be named to the keyboard hook (" + block_.FailureDetail() + ")";
        return false;
    }
    hookOn_();
    const unsigned long error = hookOnError_ != nullptr ? hookOnError_() : 0;
    if (error == 0) return true;
    hookOnFailure_ = "the keyboard hook could not be installed (" + HookErrorText(error) + ")";
    return false;
}

void HookLibrary::CallHookOff() const {
    if (HasHooks()) hookOff_();
}

}  // namespace capture
