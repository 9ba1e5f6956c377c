// The program's side of the hook library: loads it from the program's
// folder, resolves HookOn/HookOff and publishes the window id in the shared
// block the library reads (WindowIdBlock). The library is never unloaded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "capture/WindowIdBlock.h"

namespace capture {

enum class HookLinkStatus {
    Ok,
    LibraryNotFound,   // dlopen failed; nothing else was set up
    FunctionsMissing,  // HookOn or HookOff missing; no block, no hook calls
    BlockFailed,       // no shared block of this user could be created or opened
    WindowIdNotWritten,  // the block exists but the id could not be written
};

// The start-up message for a status; empty for Ok and for
// WindowIdNotWritten, which has no message of its own (capture just stays
// silent, as the window cannot be named).
std::string_view StartupMessage(HookLinkStatus status);

class HookLibrary {
public:
    static constexpr char kLibraryFileName[] = "libHookmod.so";

    HookLibrary() = default;
    ~HookLibrary();
    HookLibrary(const HookLibrary&) = delete;
    HookLibrary& operator=(const HookLibrary&) = delete;

    // Loads folder + "/libHookmod.so", resolves both exports, creates or
    // reuses the block `blockName` (empty: this user's block for this
    // display; see WindowIdBlock) and writes `windowId` at its start. Stops
    // at the first failure; calls neither export.
    HookLinkStatus Load(const std::string& folder, std::uint32_t windowId,
                        std::string_view blockName = {});

    // True when both exports were found; otherwise the calls do nothing.
    bool HasHooks() const { return hookOn_ != nullptr && hookOff_ != nullptr; }
    void CallHookOn() const;
    void CallHookOff() const;

    // The system's reason for the last failure (dlerror or errno text).
    const std::string& FailureDetail() const { return detail_; }

private:
    HookLinkStatus Fail(HookLinkStatus status, std::string detail);

    void* library_ = nullptr;
    void (*hookOn_)() = nullptr;
    void (*hookOff_)() = nullptr;
    WindowIdBlock block_;
    std::string detail_;
};

}  // namespace capture
