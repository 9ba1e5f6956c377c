#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "hid/MainThreadQueue.h"

namespace hid {
namespace {

using namespace std::chrono_literals;

TEST(MainThreadQueue, PostedWorkRunsInOrderWhenServed) {
  MainThreadQueue q;
  std::atomic<int> wakeups{0};
  q.SetWakeup([&] { ++wakeups; });
  std::vector<int> order;
  q.Post([&] { order.push_back(1); });
  q.Post([&] { order.push_back(2); });
  EXPECT_TRUE(order.empty());
  EXPECT_EQ(wakeups.load(), 2);
  q.ServePending();
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  EXPECT_FALSE(q.HasPending());
}

TEST(MainThreadQueue, ExceptionOfPostedWorkLeavesTheRestQueued) {
  MainThreadQueue q;
  int wakeups = 0;
  q.SetWakeup([&] { ++wakeups; });
  std::vector<int> order;
  q.Post([&] { throw std::runtime_error("handler"); });
  q.Post([&] { order.push_back(2); });
  EXPECT_THROW(q.ServePending(), std::runtime_error);
  EXPECT_TRUE(order.empty());
  EXPECT_EQ(wakeups, 3);  // woken again for what is left
  q.ServePending();
  EXPECT_EQ(order, std::vector<int>{2});
}

TEST(MainThreadQueue, InvokeBlocksUntilTheMainThreadRanItAndReturnsItsException) {
  MainThreadQueue q;
  EXPECT_TRUE(q.IsMainThread());
  std::atomic<bool> returned{false};
  std::thread::id ranOn;
  std::exception_ptr error;
  std::thread reader([&] {
    error = q.Invoke([&] {
      ranOn = std::this_thread::get_id();
      throw std::runtime_error("data handler");
    });
    returned = true;
    q.Notify();
  });
  ASSERT_TRUE(q.ServeUntil([&] { return returned.load(); }, 10s));
  reader.join();
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  ASSERT_TRUE(error);
  EXPECT_THROW(std::rethrow_exception(error), std::runtime_error);
}

TEST(MainThreadQueue, InvokeOnTheMainThreadRunsAtOnce) {
  MainThreadQueue q;
  bool ran = false;
  EXPECT_FALSE(q.Invoke([&] { ran = true; }));
  EXPECT_TRUE(ran);
  EXPECT_FALSE(q.HasPending());
}

TEST(MainThreadQueue, ManyThreadsEachCallRunsOnceOnTheMainThread) {
  MainThreadQueue q;
  constexpr int kThreads = 8, kCalls = 200;
  std::vector<int> perThread(kThreads, 0);  // touched on the main thread only
  std::atomic<int> finished{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kCalls; ++i) {
        if (i % 2 == 0) {
          q.Invoke([&, t] { ++perThread[t]; });
        } else {
          q.Post([&, t] { ++perThread[t]; });
        }
      }
      ++finished;
      q.Notify();
    });
  }
  ASSERT_TRUE(q.ServeUntil([&] { return finished.load() == kThreads; }, 30s));
  for (auto& t : threads) t.join();
  q.ServePending();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(perThread[t], kCalls);
}

TEST(MainThreadQueue, HandOffWaitLeavesPostedWorkForTheLoop) {
  MainThreadQueue q;
  bool posted = false, handedOff = false;
  q.Post([&] { posted = true; });
  std::thread reader([&] { q.Invoke([&] { handedOff = true; }); });
  EXPECT_TRUE(q.ServeUntil([&] { return handedOff; }, 10s, MainThreadQueue::Serve::HandOffsOnly));
  reader.join();
  EXPECT_FALSE(posted);
  q.ServePending();
  EXPECT_TRUE(posted);
}

TEST(MainThreadQueue, ServeUntilGivesUpAfterItsTimeout) {
  MainThreadQueue q;
  EXPECT_FALSE(q.ServeUntil([] { return false; }, 20ms));
}

}  // namespace
}  // namespace hid
