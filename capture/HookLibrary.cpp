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
