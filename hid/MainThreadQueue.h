// Hand-off queue between reader threads and the main thread.
//
// All program logic runs on the main thread (the thread that made the queue).
// Reader threads hand work to it with Invoke and block until it has run; the
// controller posts its own notifications with Post. Whenever work is queued the
// wake-up hook runs (on the queuing thread): the Qt host turns it into a queued
// call of ServePending on the main thread, tests run their own small loop with
// ServeUntil.
//
// Waiting for a reader to end must go through ServeUntil (which keeps serving
// hand-offs), or a reader blocked in Invoke could never see its stop request.
//
// The queue must outlive every controller, device and reader that uses it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace hid {

class MainThreadQueue {
 public:
  // What a wait serves: everything, or only the synchronous hand-offs of
  // readers (posted notifications stay queued for the host loop).
  enum class Serve { All, HandOffsOnly };

  MainThreadQueue();
  ~MainThreadQueue();
  MainThreadQueue(const MainThreadQueue&) = delete;
  MainThreadQueue& operator=(const MainThreadQueue&) = delete;

  // Hook called from the queuing thread whenever work is queued. It must not
  // run the work itself; it should arrange for ServePending on the main thread.
  void SetWakeup(std::function<void()> wakeup);

  // Queues `fn` for the main thread and returns at once. Any thread.
  void Post(std::function<void()> fn);

  // Queues `fn`, wakes the main thread and blocks until `fn` has run there.
  // Returns the exception `fn` threw, or null. On the main thread `fn` runs
  // at once.
  std::exception_ptr Invoke(std::function<void()> fn);

  // Main thread: runs the work queued so far, in order. An exception of posted
  // work leaves this call (the rest stays queued, the wake-up hook runs again).
  void ServePending();

  // Main thread: serves queued work until `done()` holds or `timeout` passed;
  // returns done(). `done` is tested after each round of work and after each
  // Notify(), so whoever makes it true without queuing work calls Notify().
  // milliseconds::max() waits without limit. Exceptions as for ServePending.
  bool ServeUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
                  Serve what = Serve::All);

  // Any thread: makes a waiting ServeUntil test its condition again.
  void Notify();

  bool IsMainThread() const { return std::this_thread::get_id() == main_; }
  bool HasPending() const;

 private:
  struct Item {
    std::function<void()> fn;
    bool handOff = false;
    bool done = false;
    std::exception_ptr error;
  };

  void Enqueue(Item* item);
  // Runs up to `limit` eligible items; rethrows an exception of posted work.
  void Run(std::size_t limit, Serve what);
  Item* TakeLocked(Serve what);
  bool HasEligibleLocked(Serve what) const;
  void Wake();

  const std::thread::id main_;
  mutable std::mutex mutex_;
  std::condition_variable workOrSignal_;  // main thread waits here
  std::mutex handOffMutex_;               // guards Item::done
  std::condition_variable handOffDone_;   // Invoke callers wait here
  std::deque<Item*> items_;
  std::uint64_t signals_ = 0;
  std::shared_ptr<const std::function<void()>> wakeup_;
};

}  // namespace hid
