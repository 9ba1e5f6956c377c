// The program's side of the hook library: loads it from the program's
// folder, resolves HookOn/HookOff and publishes the window id in the shared
// block the library reads (see hookmod/HookMessages.h). The library is never
// unloaded; the block stays open while this object lives and is never
// removed, so another instance can reuse it.
//
// One interface, two implementations chosen by the build: HookLibrary.cpp
// (dlopen, POSIX shared memory) and windows/HookLibraryWindows.cpp
// (LoadLibrary, a paging-file mapping, see hookmod/windows/HookMapping.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "hookmod/HookMessages.h"

namespace capture {

enum class HookLinkStatus {
    Ok,
    LibraryNotFound,   // the library could not be loaded; nothing else was set up
    FunctionsMissing,  // HookOn or HookOff missing; no block, no hook calls
    BlockFailed,       // the shared block could not be created or sized
    WindowIdNotWritten,  // the block exists but could not be mapped for writing
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

    // Loads the library kLibraryFileName from `folder` (UTF-8), resolves both
    // exports, creates or reuses the block `blockName` (grown to 4 bytes when
    // smaller; empty: the platform's own block) and writes `windowId` at its
    // start. Stops at the first failure; calls neither export.
    HookLinkStatus Load(const std::string& folder, std::uint32_t windowId,
                        std::string_view blockName = {});

    // True when both exports were found; otherwise the calls do nothing.
    bool HasHooks() const { return hookOn_ != nullptr && hookOff_ != nullptr; }
    void CallHookOn() const;
    void CallHookOff() const;

    // The system's reason for the last failure.
    const std::string& FailureDetail() const { return detail_; }

private:
    HookLinkStatus Fail(HookLinkStatus status, std::string detail);

    void* library_ = nullptr;
    void (*hookOn_)() = nullptr;
    void (*hookOff_)() = nullptr;
    int blockFd_ = -1;          // POSIX: the block, kept open
    void* mapping_ = nullptr;   // Windows: the mapping, kept open
    std::string detail_;
};

}  // namespace capture
