#include "hid/MainThreadQueue.h"

#include <algorithm>
#include <optional>

namespace hid {

MainThreadQueue::MainThreadQueue() : main_(std::this_thread::get_id()) {}

MainThreadQueue::~MainThreadQueue() {
  // Only posted work can be left: every reader is joined before its queue goes.
  for (Item* item : items_) {
    if (!item->handOff) delete item;
  }
}

void MainThreadQueue::SetWakeup(std::function<void()> wakeup) {
  auto hook = wakeup ? std::make_shared<const std::function<void()>>(std::move(wakeup)) : nullptr;
  std::lock_guard lock(mutex_);
  wakeup_ = std::move(hook);
}

void MainThreadQueue::Wake() {
  std::shared_ptr<const std::function<void()>> hook;
  {
    std::lock_guard lock(mutex_);
    hook = wakeup_;
  }
  if (hook) (*hook)();
}

void MainThreadQueue::Enqueue(Item* item) {
  std::shared_ptr<const std::function<void()>> hook;
  {
    std::lock_guard lock(mutex_);
    items_.push_back(item);
    ++signals_;
    hook = wakeup_;
  }
  workOrSignal_.notify_all();
  if (hook) (*hook)();
}

void MainThreadQueue::Post(std::function<void()> fn) {
  auto item = std::make_unique<Item>();
  item->fn = std::move(fn);
  Enqueue(item.release());
}

std::exception_ptr MainThreadQueue::Invoke(std::function<void()> fn) {
  if (IsMainThread()) {
    try {
      fn();
    } catch (...) {
      return std::current_exception();
    }
    return nullptr;
  }
  Item item;
  item.fn = std::move(fn);
  item.handOff = true;
  Enqueue(&item);
  // Not the queue's mutex: the main thread, just woken, takes that one to
  // serve the item, and must not find it held by a reader waiting here.
  std::unique_lock lock(handOffMutex_);
  handOffDone_.wait(lock, [&] { return item.done; });
  return item.error;
}

void MainThreadQueue::Notify() {
  {
    std::lock_guard lock(mutex_);
    ++signals_;
  }
  workOrSignal_.notify_all();
}

bool MainThreadQueue::HasPending() const {
  std::lock_guard lock(mutex_);
  return !items_.empty();
}

bool MainThreadQueue::HasEligibleLocked(Serve what) const {
  if (what == Serve::All) return !items_.empty();
  return std::any_of(items_.begin(), items_.end(), [](const Item* i) { return i->handOff; });
}

MainThreadQueue::Item* MainThreadQueue::TakeLocked(Serve what) {
  auto it = items_.begin();
  if (what == Serve::HandOffsOnly) {
    it = std::find_if(items_.begin(), items_.end(), [](const Item* i) { return i->handOff; });
  }
  if (it == items_.end()) return nullptr;
  Item* item = *it;
  items_.erase(it);
  return item;
}

void MainThreadQueue::Run(std::size_t limit, Serve what) {
  for (std::size_t n = 0; n < limit; ++n) {
    Item* item;
    {
      std::lock_guard lock(mutex_);
      item = TakeLocked(what);
    }
    if (item == nullptr) return;
    if (item->handOff) {
      try {
        item->fn();
      } catch (...) {
        item->error = std::current_exception();
      }
      {
        std::lock_guard lock(handOffMutex_);
        item->done = true;  // the caller's stack frame may be gone after this
      }
      handOffDone_.notify_all();
      continue;
    }
    std::unique_ptr<Item> owned(item);
    try {
      owned->fn();
    } catch (...) {
      if (HasPending()) Wake();
      throw;
    }
  }
}

void MainThreadQueue::ServePending() {
  std::size_t count;
  {
    std::lock_guard lock(mutex_);
    count = items_.size();
  }
  Run(count, Serve::All);
}

bool MainThreadQueue::ServeUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
                                 Serve what) {
  using Clock = std::chrono::steady_clock;
  std::optional<Clock::time_point> deadline;
  if (timeout != std::chrono::milliseconds::max()) deadline = Clock::now() + timeout;
  for (;;) {
    std::uint64_t seen;
    std::size_t count;
    {
      std::lock_guard lock(mutex_);
      seen = signals_;
      count = items_.size();
    }
    Run(count, what);
    if (done()) return true;
    std::unique_lock lock(mutex_);
    auto woken = [&] { return signals_ != seen || HasEligibleLocked(what); };
    if (deadline) {
      if (!workOrSignal_.wait_until(lock, *deadline, woken)) {
        lock.unlock();
        return done();
      }
    } else {
      workOrSignal_.wait(lock, woken);
    }
  }
}

}  // namespace hid
