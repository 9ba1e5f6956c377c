#include <atomic>
#include <cerrno>

#include "HidTestSupport.h"
#include "ObservedReadBackend.h"

namespace hid::test {
namespace {

class ReaderTest : public HidFixture {
 protected:
  // One pedal, checked out with the recorder's data handler, reader waiting.
  void StartPedal(VirtualDeviceDescription desc = PedalDescription(), bool readable = true) {
    pedal = bus.Plug(std::move(desc));
    MakeController();
    Pump();
    rec.Take();
    dev = CheckOut(0);
    ASSERT_NE(dev, nullptr);
    ASSERT_TRUE(dev->ReaderRunning());
    if (readable) {
      ASSERT_TRUE(ReaderReady(pedal));
    }
  }

  // Waits until the reader is blocked in a hand-off to the main thread.
  bool HandOffWaiting() {
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (!queue.HasPending()) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(1ms);
    }
    return true;
  }

  // Serves the queue for a while, for checks that nothing (more) arrives.
  void ServeFor(std::chrono::milliseconds time) { queue.ServeUntil([] { return false; }, time); }

  std::shared_ptr<VirtualDevice> pedal;
  THidDevice* dev = nullptr;
};

TEST_F(ReaderTest, ReportIdIsTheFirstByteAndSizeCountsTheRest) {
  StartPedal();
  pedal->InjectInput({0, 1, 2, 3, 4, 5, 6, 7});
  pedal->InjectInput({2, 0x81, 9});  // shorter than the buffer: only what was read
  ASSERT_TRUE(ServeUntil([&] { return rec.reports.size() == 2; }));
  EXPECT_EQ(rec.reports[0].device, dev);
  EXPECT_EQ(rec.reports[0].id, 0);
  EXPECT_EQ(rec.reports[0].data, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(rec.reports[1].id, 2);
  EXPECT_EQ(rec.reports[1].data, (std::vector<std::uint8_t>{0x81, 9}));
}

TEST_F(ReaderTest, AReportRightAfterCheckOutIsNotLost) {
  // The answer to a request sent at once after the check-out may arrive
  // before the reader thread has reached its first read.
  pedal = bus.Plug(PedalDescription());
  MakeController();
  Pump();
  rec.Take();
  dev = CheckOut(0);
  ASSERT_NE(dev, nullptr);
  pedal->InjectInput({2, 0x81, 0, 1, 6, 0, 0, 0});
  ASSERT_TRUE(ServeUntil([&] { return rec.reports.size() == 1; }));
  EXPECT_EQ(rec.reports[0].data, (std::vector<std::uint8_t>{0x81, 0, 1, 6, 0, 0, 0}));
}

TEST_F(ReaderTest, ReportsOfEachDeviceArriveInOrderExactlyOnce) {
  constexpr int kReports = 300;
  StartPedal();
  auto second = bus.Plug(PedalDescription(u"second"));
  Pump();
  THidDevice* other = CheckOut(1);
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(ReaderReady(second));
  auto feed = [](std::shared_ptr<VirtualDevice> d) {
    for (int i = 0; i < kReports; ++i) {
      d->InjectInput({1, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i), 0, 0, 0, 0, 0});
    }
  };
  std::thread a(feed, pedal), b(feed, second);
  const bool all = ServeUntil([&] { return rec.reports.size() == 2 * kReports; });
  a.join();
  b.join();
  ASSERT_TRUE(all);
  ServeFor(50ms);
  ASSERT_EQ(rec.reports.size(), 2u * kReports);
  int next[2] = {0, 0};
  for (const auto& r : rec.reports) {
    const int which = r.device == dev ? 0 : 1;
    ASSERT_TRUE(r.device == dev || r.device == other);
    EXPECT_EQ((r.data[0] << 8) | r.data[1], next[which]);
    ++next[which];
  }
  EXPECT_EQ(next[0], kReports);
  EXPECT_EQ(next[1], kReports);
}

TEST_F(ReaderTest, StopWithAReadOutstandingEndsAtOnceAndCancelsIt) {
  StartPedal();
  dev->SetReaderWaitTime(10000);
  ASSERT_TRUE(ReaderReady(pedal));
  const auto start = std::chrono::steady_clock::now();
  ctl->SetOnDeviceData(THidDataEvent());  // stops the readers that used it
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, 9s);  // well inside the wait time
  EXPECT_FALSE(dev->ReaderRunning());
  EXPECT_FALSE(dev->DataHandler());
  EXPECT_EQ(pedal->OutstandingReads(), 0u);
  EXPECT_EQ(pedal->CancelledReads(), 1u);
  pedal->InjectInput({2, 1, 0, 0, 0, 0, 0, 0});
  ServeFor(50ms);
  EXPECT_TRUE(rec.reports.empty());
  // A set handler starts a new reader for the checked-out device; the read
  // handle stayed open, so what arrived meanwhile comes first.
  ctl->SetOnDeviceData(MakeHandler(&rec, &Recorder::Data));
  EXPECT_TRUE(dev->ReaderRunning());
  pedal->InjectInput({2, 2, 0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(ServeUntil([&] { return rec.reports.size() == 2; }));
  EXPECT_EQ(rec.reports[0].data[0], 1);
  EXPECT_EQ(rec.reports[1].data[0], 2);
}

TEST_F(ReaderTest, StopWhileTheReaderWaitsInAHandOff) {
  StartPedal();
  for (int i = 0; i < 60; ++i) {
    pedal->InjectInput({2, static_cast<std::uint8_t>(i), 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(HandOffWaiting()) << "round " << i;
    if (i % 2 == 0) {
      Destroy(dev);  // the owner gives the device back
      dev = CheckOut(0);
      ASSERT_NE(dev, nullptr);
    } else {
      ctl->SetOnDeviceData(THidDataEvent());
      ctl->SetOnDeviceData(MakeHandler(&rec, &Recorder::Data));
    }
    // The stop served the waiting hand-off: the report arrived, once.
    ASSERT_EQ(rec.reports.size(), static_cast<std::size_t>(i + 1)) << "round " << i;
    EXPECT_EQ(rec.reports.back().data[0], i);
    ASSERT_TRUE(ReaderReady(pedal)) << "round " << i;
  }
  EXPECT_EQ(pedal->OpenReadHandles(), 1);
}

TEST_F(ReaderTest, NoReportAfterTheDeviceIsMarkedUnplugged) {
  StartPedal();
  pedal->InjectInput({2, 1, 0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(HandOffWaiting());
  bus.Unplug(pedal);
  ctl->DeviceChange();  // the rescan marks it unplugged before the waiting report is served
  ServeFor(100ms);
  EXPECT_TRUE(rec.reports.empty());
  // (A monitor that notifies through the queue rescans once more meanwhile.)
  const auto log = rec.Take();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 3),
            (std::vector<std::string>{"unplug " + Name(dev), "removal " + Name(dev), "change"}));
  EXPECT_FALSE(dev->Present());
  EXPECT_EQ(pedal->OpenHandles(), 0);
}

// The reader on read handles the test can watch and steer.
class ObservedReaderTest : public ReaderTest {
 protected:
  ObservedReadBackend observed{bus};  // outlives the controller, which TearDown ends
};

TEST_F(ObservedReaderTest, AnIdleReaderWaitsWithoutATimeLimit) {
  pedal = bus.Plug(PedalDescription());
  MakeController(observed);
  Pump();
  dev = CheckOut(0);
  ASSERT_NE(dev, nullptr);
  pedal->InjectInput({2, 0x81, 0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(ServeUntil([&] { return rec.reports.size() == 1; }));
  ASSERT_TRUE(ReaderReady(pedal));
  auto handle = observed.LastReadHandle();
  ASSERT_NE(handle, nullptr);
  const auto waits = handle->WaitTimes();
  ASSERT_FALSE(waits.empty());
  for (auto ms : waits) EXPECT_EQ(ms, platform::kInfiniteWait);
}

TEST_F(ObservedReaderTest, AStopThatRacesACompletingReadLeavesTheHandleReadyForTheNextReader) {
  pedal = bus.Plug(PedalDescription());
  MakeController(observed);
  Pump();
  dev = CheckOut(0);
  ASSERT_NE(dev, nullptr);
  ASSERT_TRUE(ReaderReady(pedal));
  auto handle = observed.LastReadHandle();
  ASSERT_NE(handle, nullptr);

  // The read completes, and the reader sees the stop before it collects it.
  handle->HoldNextCompletionUntilInterrupt();
  pedal->InjectInput({2, 1, 0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(ServeUntil([&] { return handle->CompletionUncollected(); }));
  ctl->SetOnDeviceData(THidDataEvent());
  EXPECT_FALSE(handle->CompletionUncollected()) << "the stopped reader left its read half-collected";
  EXPECT_TRUE(rec.reports.empty()) << "a stop delivers nothing more";

  // A reader started later reads on the same handle.
  ctl->SetOnDeviceData(MakeHandler(&rec, &Recorder::Data));
  pedal->InjectInput({2, 2, 0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(ServeUntil([&] { return rec.reports.size() == 1; }));
  EXPECT_EQ(rec.reports[0].data[0], 2);
}

TEST_F(ReaderTest, AReadThatCanNeverStartAgainIsReportedOnce) {
  StartPedal();
  ctl->SetOnDeviceDataError(MakeHandler(&rec, &Recorder::DataError));
  dev->SetReaderWaitTime(20);
  bus.Unplug(pedal);
  Pump();
  ASSERT_TRUE(ServeUntil([&] { return !rec.errors.empty(); }));
  ServeFor(300ms);  // many wait times
  EXPECT_EQ(rec.errors, (std::vector<std::uint32_t>{ENODEV})) << "reported once, not retried";
  EXPECT_TRUE(rec.reports.empty());
}

// A reset that no notification reported: the reads fail with ENODEV while
// the device stays listed. One rescan gives it a fresh object; an object
// that fails again before it has read anything rescans no more, until one
// for the device has read a report.
TEST_F(ReaderTest, AFinalReadErrorOnAListedDeviceRescansOnceUntilAFreshObjectReads) {
  StartPedal();
  const std::string name = std::to_string(pedal->Instance());
  const unsigned scans = bus.ScanCount();
  // Resets the pedal under the checked-out object, waits for its error to be
  // handled, and returns the rescans it brought.
  const auto resetUnder = [&](THidDevice* object) {
    object->SetDataErrorHandler(MakeHandler(&rec, &Recorder::DataError));
    object->SetReaderWaitTime(10);
    rec.errors.clear();
    const unsigned before = bus.ScanCount();
    pedal->Reset();
    EXPECT_TRUE(ServeUntil([&] { return !rec.errors.empty(); }));
    queue.ServePending();  // a rescan the error queued
    return bus.ScanCount() - before;
  };
  const auto checkOutFresh = [&](THidDevice* old) {
    Destroy(old);
    THidDevice* fresh = CheckOut(0);
    EXPECT_NE(fresh, old);
    EXPECT_TRUE(ReaderReady(pedal));
    return fresh;
  };

  EXPECT_EQ(resetUnder(dev), 1u);
  EXPECT_EQ(rec.Take(), (std::vector<std::string>{"unplug " + name, "removal " + name, "arrival " + name, "change"}));
  THidDevice* second = checkOutFresh(dev);
  EXPECT_EQ(resetUnder(second), 0u) << "failed again before reading: no second rescan";
  EXPECT_TRUE(rec.Take().empty());

  // Another rescan still replaces the dead object; once the fresh one has
  // read, a later failure rescans again.
  ctl->DeviceChange();
  THidDevice* third = checkOutFresh(second);
  pedal->InjectInput({2, 1, 0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(ServeUntil([&] { return rec.reports.size() == 1; }));
  EXPECT_EQ(rec.reports[0].device, third);
  EXPECT_EQ(resetUnder(third), 1u);
  EXPECT_EQ(bus.ScanCount(), scans + 3);
}

TEST_F(ReaderTest, DeviceWithoutInputReportsIsReportedOnce) {
  auto desc = PedalDescription();
  desc.inputLength = 0;
  StartPedal(desc, false);
  ctl->SetOnDeviceDataError(MakeHandler(&rec, &Recorder::DataError));
  dev->SetReaderWaitTime(20);
  ASSERT_TRUE(ServeUntil([&] { return !rec.errors.empty(); }));
  ServeFor(300ms);
  EXPECT_EQ(rec.errors, (std::vector<std::uint32_t>{EINVAL}));
}

TEST_F(ReaderTest, AnExceptionFromTheDataHandlerEndsThatReader) {
  StartPedal();
  rec.onData = [](const Report&) { throw std::runtime_error("decoder failed"); };
  pedal->InjectInput({2, 1, 0, 0, 0, 0, 0, 0});
  pedal->InjectInput({2, 2, 0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(ServeUntil([&] { return rec.reports.size() == 1; }));
  ServeFor(100ms);
  EXPECT_EQ(rec.reports.size(), 1u);
  EXPECT_EQ(pedal->OutstandingReads(), 0u);
  // Only a new reader reads again.
  rec.onData = nullptr;
  ctl->SetOnDeviceData(THidDataEvent());
  ctl->SetOnDeviceData(MakeHandler(&rec, &Recorder::Data));
  pedal->InjectInput({2, 3, 0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(ServeUntil([&] { return rec.reports.size() == 3; }));
  EXPECT_EQ(rec.reports[1].data[0], 2);  // waited in the open handle
  EXPECT_EQ(rec.reports[2].data[0], 3);
}

}  // namespace
}  // namespace hid::test
