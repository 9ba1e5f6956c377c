// The Qt adapters of the device layer: the main-thread wake-up and the
// device-change watch.
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "app/DeviceChangeWatch.h"
#include "app/MainThreadWakeup.h"
#include "app/tests/UnloadedBus.h"
#include "hid/MainThreadQueue.h"
#include "hid/THidDeviceController.h"

namespace app {
namespace {

TEST(MainThreadWakeupTest, ServesWorkQueuedBeforeAndAfterAndSurvivesAThrowingHandler)
{
    hid::MainThreadQueue queue;
    std::vector<int> ran;
    queue.Post([&] { ran.push_back(1); });   // before the wake-up exists
    MainThreadWakeup wakeup(queue);
    queue.Post([&] {
        ran.push_back(2);
        throw std::runtime_error("handler failed");
    });
    queue.Post([&] { ran.push_back(3); });
    EXPECT_TRUE(ran.empty());   // only the event loop serves

    EXPECT_TRUE(QTest::qWaitFor([&] { return ran.size() == 3; }, 5000));
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST(MainThreadWakeupTest, HandOffFromAnotherThreadRunsOnTheMainThread)
{
    hid::MainThreadQueue queue;
    MainThreadWakeup wakeup(queue);
    std::thread::id ranOn;
    bool returned = false;
    std::thread reader([&] {
        queue.Invoke([&] { ranOn = std::this_thread::get_id(); });
        returned = true;
    });
    const bool done = QTest::qWaitFor([&] { return ranOn != std::thread::id(); }, 5000);
    reader.join();
    EXPECT_TRUE(done);
    EXPECT_TRUE(returned);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(DeviceChangeWatchTest, WatchesOnlyWhereThereIsAMonitor)
{
    hid::MainThreadQueue queue;
    // Serves the rescan where the bus's monitor has no descriptor to watch
    // and notifies through the queue instead (Windows).
    MainThreadWakeup wakeup(queue);
    test::UnloadedBus unloaded;
    hid::THidDeviceController none(unloaded, queue);
    EXPECT_FALSE(DeviceChangeWatch(none).Watching());

    hid::platform::virt::VirtualBus bus;
    hid::THidDeviceController controller(bus, queue);
    DeviceChangeWatch watch(controller);
    EXPECT_TRUE(watch.Watching());
    queue.ServePending();   // the controller's own first notice
    const unsigned scans = bus.ScanCount();
    bus.Plug({});
    EXPECT_TRUE(QTest::qWaitFor([&] { return bus.ScanCount() > scans; }, 5000));
}

// A monitor that notifies by itself, as on Windows: the rescan comes through
// the queue that the Qt loop serves, also for a plug on another thread.
TEST(DeviceChangeWatchTest, MonitorWithoutDescriptorRescansThroughTheQtLoop)
{
    hid::MainThreadQueue queue;
    MainThreadWakeup wakeup(queue);
    hid::platform::virt::VirtualBus bus;
    bus.SetMonitorDelivery(hid::platform::virt::MonitorDelivery::Callback);
    hid::THidDeviceController controller(bus, queue);
    DeviceChangeWatch watch(controller);
    EXPECT_TRUE(watch.Watching());
    EXPECT_TRUE(QTest::qWaitFor([&] { return bus.ScanCount() == 1; }, 5000));
    std::thread([&] { bus.Plug({}); }).join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller.Count() == 1; }, 5000));
    EXPECT_EQ(bus.ScanCount(), 2u);
}

}  // namespace
}  // namespace app
