// The program's side of the hook library: loads it from the program's
// folder, resolves HookOn/HookOff and publishes the window id in the shared
// block the library reads (WindowIdBlock). The library is never unloaded.
//
// HookLibrary.cpp holds the steps; the build picks how a library is opened
// and its exports found: HookLibraryPosix.cpp (dlopen) or
// windows/HookLibraryWindows.cpp (LoadLibrary).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "capture/WindowIdBlock.h"

namespace capture {

enum class HookLinkStatus {
    Ok,
    LibraryNotFound,   // the library could not be loaded; nothing else was set up
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
    // "libHookmod.so"; "Hookmod.dll" on Windows.
    static const char kLibraryFileName[];

    HookLibrary() = default;
    ~HookLibrary();
    HookLibrary(const HookLibrary&) = delete;
    HookLibrary& operator=(const HookLibrary&) = delete;

    // Loads kLibraryFileName from `folder` (UTF-8), resolves both exports,
    // creates or reuses the block `blockName` (empty: this user's block; see
    // WindowIdBlock) and writes `windowId` at its start. Stops at the first
    // failure; calls neither export.
    HookLinkStatus Load(const std::string& folder, std::uint32_t windowId,
                        std::string_view blockName = {});

    // True when both exports were found; otherwise the calls do nothing.
    bool HasHooks() const { return hookOn_ != nullptr && hookOff_ != nullptr; }
    // Publishes the window id again (another instance of the program may
    // have put its own there since), then calls HookOn. False when the
    // library says that its hook could not be installed (a library that
    // exports HookOnError: the system's error of its last HookOn, 0 when the
    // hook is on), or the window could not be named to it; HookOnFailure()
    // then says why.
    bool CallHookOn();
    void CallHookOff() const;
    const std::string& HookOnFailure() const { return hookOnFailure_; }

    // The system's reason for the last failure.
    const std::string& FailureDetail() const { return detail_; }

private:
    using HookFunction = void (*)();
    using HookErrorFunction = unsigned long (*)();

    HookLinkStatus Fail(HookLinkStatus status, std::string detail);
    // Per platform: opens kLibraryFileName in `folder` (sets `path` to it),
    // or returns null with the system's reason in `error`.
    static void* OpenLibrary(const std::string& folder, std::string& path, std::string& error);
    // Per platform: the export `name`, or null.
    static HookFunction Export(void* library, const char* name);
    // Per platform: the text for an error code that HookOnError returned.
    static std::string HookErrorText(unsigned long code);

    void* library_ = nullptr;
    HookFunction hookOn_ = nullptr;
    HookFunction hookOff_ = nullptr;
    HookErrorFunction hookOnError_ = nullptr;  // optional
    WindowIdBlock block_;
    bool published_ = false;
    std::string blockName_;
    std::uint32_t windowId_ = 0;
    std::string detail_;
    std::string hookOnFailure_;
};

}  // namespace capture
