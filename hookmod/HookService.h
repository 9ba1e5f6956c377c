// The hook's thread and its X connection. On() starts the thread (or resumes
// delivery) and returns once raw key events are selected; after a failed
// connect it does nothing until DISPLAY names another display; Off() returns once
// every key event the server made before the call has been sent and delivery
// has stopped, so nothing reaches the window after it. The destructor ends
// and joins the thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "hookmod/KeyStateTracker.h"
#include "hookmod/XHookConnection.h"

namespace hookmod {

class HookService {
public:
    HookService() = default;
    ~HookService();
    HookService(const HookService&) = delete;
    HookService& operator=(const HookService&) = delete;

    void On();
    void Off();

private:
    enum class Command { None, On, Off, Quit };

    bool StartThreadLocked();
    void ReportOnce(const std::string& error);
    void Request(Command command);
    void StopAndJoinLocked();

    // Hook thread only.
    void Run();
    void Execute(Command command);
    void Handle(const XHookConnection::RawKey& key);

    std::mutex apiMutex_;  // one On/Off/destructor at a time

    std::mutex mutex_;  // guards the mailbox below
    std::condition_variable done_;
    Command pending_ = Command::None;
    std::uint64_t requested_ = 0;
    std::uint64_t completed_ = 0;
    bool running_ = false;

    std::string lastError_;  // last start-up failure written to stderr
    std::optional<std::string> failedDisplay_;  // DISPLAY of the last failed connect
    int wakeFd_ = -1;  // eventfd: a command is waiting
    std::string blockName_;  // set before the thread starts, read by it
    std::unique_ptr<XHookConnection> conn_;
    std::thread thread_;

    // Owned by the hook thread while it runs.
    bool delivering_ = false;
    std::uint32_t firstSequence_ = 0;  // raw events before this were in the keymap
    KeyStateTracker keys_;
};

}  // namespace hookmod
