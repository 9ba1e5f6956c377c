#include "hookmod/HookService.h"

#include "hookmod/SigpipeGuard.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

#include "hookmod/EvdevScanCodes.h"
#include "hookmod/KeyMessage.h"
#include "hookmod/SigpipeGuard.h"
#include "hookmod/WindowIdBlock.h"

namespace hookmod {

HookService::~HookService() {
    std::lock_guard<std::mutex> api(apiMutex_);
    StopAndJoinLocked();
    if (wakeFd_ >= 0) close(wakeFd_);
}

void HookService::On() {
    std::lock_guard<std::mutex> api(apiMutex_);
    bool running;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        running = running_;
    }
    if (!running && !StartThreadLocked()) return;
    Request(Command::On);
}

void HookService::Off() {
    std::lock_guard<std::mutex> api(apiMutex_);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!running_) return;
    }
    Request(Command::Off);
}

bool HookService::StartThreadLocked() {
    // A thread that ended on a lost connection is joined and replaced.
    if (thread_.joinable()) thread_.join();
    conn_.reset();

    if (wakeFd_ < 0) {
        wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wakeFd_ < 0) {
            ReportOnce("cannot create the wake-up descriptor");
            return false;
        }
    }
    // A connect that failed is not tried again on every focus change: one to
    // a host that drops packets blocks its caller for the connect timeout.
    const char* display = std::getenv("DISPLAY");
    const std::string displayName = display != nullptr ? display : "";
    if (failedDisplay_ && *failedDisplay_ == displayName) return false;
    std::string error;
    conn_ = XHookConnection::Open(error);
    if (!conn_) {
        failedDisplay_ = displayName;
        ReportOnce(error);
        return false;
    }
    failedDisplay_.reset();
    blockName_ = HookWindowBlockName();
    delivering_ = false;
    // Set before the thread runs, since it clears the flag when it ends; and
    // cleared again when no thread could be made, so that no later call waits
    // for one.
    {
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = true;
    }
    try {
        thread_ = std::thread(&HookService::Run, this);
    } catch (const std::system_error& e) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            running_ = false;
        }
        conn_.reset();
        ReportOnce(std::string("cannot start the hook thread: ") + e.what());
        return false;
    }
    lastError_.clear();
    return true;
}

void HookService::ReportOnce(const std::string& error) {
    // Focus changes call On again and again; say the same thing only once.
    if (error == lastError_) return;
    lastError_ = error;
    std::fprintf(stderr, "Hookmod: %s; key hook is off\n", error.c_str());
}

void HookService::Request(Command command) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!running_) return;
    pending_ = command;
    const std::uint64_t ticket = ++requested_;
    const std::uint64_t one = 1;
    if (write(wakeFd_, &one, sizeof one) < 0 && errno != EAGAIN) {
        pending_ = Command::None;
        return;
    }
    done_.wait(lock, [&] { return completed_ >= ticket || !running_; });
}

void HookService::StopAndJoinLocked() {
    Request(Command::Quit);
    if (thread_.joinable()) thread_.join();
    conn_.reset();
}

void HookService::Run() {
    const SigpipeGuard quiet;  // a server gone is a connection error, not the program's end
    const int xfd = conn_->Fd();
    for (;;) {
        std::optional<XHookConnection::RawKey> key;
        while (conn_->NextEvent(key))
            if (key) Handle(*key);
        if (conn_->HasError()) break;  // server gone: end, a later On reconnects

        pollfd fds[2] = {{xfd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (!(fds[1].revents & POLLIN)) continue;

        std::uint64_t count = 0;
        if (read(wakeFd_, &count, sizeof count) < 0) continue;
        Command command;
        std::uint64_t ticket;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            command = pending_;
            pending_ = Command::None;
            ticket = requested_;
        }
        if (command != Command::Quit) Execute(command);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            completed_ = ticket;
        }
        done_.notify_all();
        if (command == Command::Quit) break;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    running_ = false;
    done_.notify_all();
}

void HookService::Execute(Command command) {
    if (command == Command::Off) {
        // The deselect is a round trip, so every raw event the server made
        // before it is queued now: deliver those, then stop. Off is a clean
        // cut, and a release typed just before it still reaches the window.
        conn_->SelectRawKeys(false);
        std::optional<XHookConnection::RawKey> key;
        while (conn_->NextEvent(key))
            if (key) Handle(*key);
        delivering_ = false;
        return;
    }
    if (command != Command::On || delivering_) return;  // already on: keep the key state
    // Select first, then read the keymap: raw events stamped with an earlier
    // request number happened before the keymap snapshot and are already in it.
    if (!conn_->SelectRawKeys(true)) {
        delivering_ = false;
        return;
    }
    const auto keymap = conn_->QueryKeymap();
    if (keymap) {
        keys_.Reset(keymap->keys);
        firstSequence_ = keymap->sequence;
    } else {
        keys_.Clear();
        firstSequence_ = 0;
    }
    delivering_ = true;
}

void HookService::Handle(const XHookConnection::RawKey& key) {
    if (!delivering_) return;
    if (static_cast<std::int32_t>(key.sequence - firstSequence_) < 0) return;

    KeyTransition transition;
    if (key.press) {
        transition = keys_.Press(key.keycode, key.source) ? KeyTransition::RepeatPress
                                                          : KeyTransition::Press;
    } else {
        if (!keys_.Release(key.keycode, key.source)) return;  // still down, or not down
        transition = KeyTransition::Release;
    }
    if (key.keycode < kXKeycodeOffset) return;
    const auto message = MakeHookKeyMessage(key.keycode - kXKeycodeOffset, transition);
    if (!message) return;
    const std::uint32_t window = ReadTargetWindowId(blockName_);
    if (window == 0) return;
    conn_->Send(window, *message);
}

}  // namespace hookmod
