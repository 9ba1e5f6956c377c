// The shared block that names the program's window to the hook library. It
// is created, or a left-over one of this user is reused, and stays open while
// this object lives; it is never removed, so another instance on the same
// display can reuse it. WindowIdBlockPosix.cpp: POSIX shared memory per user
// and display; windows/WindowIdBlockWindows.cpp: the session's paging-file
// mapping "Local\TestHook" (hookmod/windows/HookMapping.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace capture {

class WindowIdBlock {
public:
    enum class Result {
        Ok,
        CreateFailed,  // no block of this user could be created or opened
        WriteFailed,   // the block is there, the id could not be written
    };

    WindowIdBlock() = default;
    ~WindowIdBlock();
    WindowIdBlock(const WindowIdBlock&) = delete;
    WindowIdBlock& operator=(const WindowIdBlock&) = delete;

    // Creates or reuses the block `name` (empty: this user's block for this
    // display) and writes `windowId` at its start. A block that another user
    // owns is refused.
    Result Publish(std::string_view name, std::uint32_t windowId);
    void Close();

    // The system's reason for the last failure.
    const std::string& FailureDetail() const { return detail_; }

private:
    Result Fail(Result result, std::string detail);

    int fd_ = -1;               // POSIX: the block's descriptor
    void* mapping_ = nullptr;   // Windows: the mapping's handle
    std::string detail_;
};

}  // namespace capture
