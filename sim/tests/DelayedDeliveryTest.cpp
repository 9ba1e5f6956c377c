#include "sim/DelayedDelivery.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Log {
    std::mutex mutex;
    std::condition_variable grew;
    std::string ran;
    Clock::time_point lastAt;

    std::function<void()> Note(char name)
    {
        return [this, name] {
            std::lock_guard lock(mutex);
            ran += name;
            lastAt = Clock::now();
            grew.notify_all();
        };
    }
    bool WaitFor(std::size_t count)
    {
        std::unique_lock lock(mutex);
        return grew.wait_for(lock, 30s, [&] { return ran.size() >= count; });
    }
};

TEST(DelayedDelivery, RunsInPostOrderNotBeforeTheDelayAndDropsWhatIsNotDueAtTheEnd)
{
    Log log;
    {
        sim::DelayedDelivery delivery;
        const Clock::time_point posted = Clock::now();
        delivery.Post(log.Note('a'), 40ms);
        delivery.Post(log.Note('b'), 0ms);   // waits behind a
        ASSERT_TRUE(log.WaitFor(2));
        EXPECT_EQ(log.ran, "ab");
        EXPECT_GE(log.lastAt - posted, 40ms);
        delivery.Post(log.Note('c'), 1h);
        delivery.Post(log.Note('d'), 0ms);
    }
    EXPECT_EQ(log.ran, "ab");
}

}  // namespace
