// Nothing lost: every input report injected while a pedal is present and
// checked out with a reader reaches the data handler exactly once and in
// order, while the main loop also rescans, writes and runs posted work.
#include <atomic>
#include <thread>

#include "protocol/PedalReport.h"
#include "stress/StormFixture.h"

namespace stress {
namespace {

using hid::test::PedalDescription;

class Delivery : public StormFixture {
 protected:
  // Serves the loop until `done`, doing main-thread work between rounds:
  // rescans with a device coming and going, read-outs, posted work items.
  bool BusyLoopUntil(const std::function<bool()>& done, std::vector<THidDevice*> writers, int& posted, int& ran) {
    const auto end = std::chrono::steady_clock::now() + 120s;
    std::shared_ptr<VirtualDevice> other;
    for (int round = 0; !done(); ++round) {
      if (std::chrono::steady_clock::now() > end) return false;
      queue.ServeUntil(done, 1ms);
      if (round % 7 == 0) {
        if (other) {
          bus.Unplug(other);
          other.reset();
        } else {
          other = bus.Plug(PedalDescription(u"OTHER"));
        }
      }
      if (round % 5 == 0) {
        const protocol::PedalReport request = protocol::BuildReadRequest(round % 3);
        for (THidDevice* d : writers) {
          std::uint32_t written = 0;
          EXPECT_TRUE(d->WriteReport(request.data(), 8, written));
        }
      }
      queue.Post([&ran, expected = posted] { EXPECT_EQ(ran++, expected) << "posted work out of order"; });
      ++posted;
      Pump();
    }
    if (other) bus.Unplug(other);
    Pump();
    return true;
  }

  // Reports of `instance`, in arrival order, must be 1..n.
  void ExpectExactlyOnceInOrder(std::uint32_t instance, std::uint32_t n) {
    std::uint32_t expected = 1;
    for (const auto& r : rec.reports) {
      if (r.data.size() != 7 || r.data[0] != kStreamMarker || InstanceOf(r.data) != (instance & 0xFFFFFF)) continue;
      ASSERT_EQ(SeqOf(r.data), expected) << "device " << instance;
      ++expected;
    }
    EXPECT_EQ(expected - 1, n) << "device " << instance;
  }
};

TEST_F(Delivery, EveryReportOfThreePedalsArrivesOnceAndInOrderDuringRescans) {
  MakeController();
  std::vector<std::shared_ptr<VirtualDevice>> pedals;
  for (const char16_t* serial : {u"VK0001", u"VK0002", u"VK0003"}) pedals.push_back(bus.Plug(PedalDescription(serial)));
  Pump();
  std::vector<THidDevice*> devices;
  for (const auto& p : pedals) {
    devices.push_back(CheckOut(IndexOf(p)));
    ASSERT_NE(devices.back(), nullptr);
    ASSERT_TRUE(ReaderReady(p));
  }

  const auto perDevice = static_cast<std::uint32_t>(Scaled(8000));
  std::atomic<std::uint64_t> refused{0};
  std::vector<std::thread> injectors;
  for (const auto& p : pedals) {
    injectors.emplace_back([&, p] {
      for (std::uint32_t seq = 1; seq <= perDevice; ++seq) {
        if (p->InjectInput(SequencedReport(kStreamMarker, seq, p->Instance())) != 1) ++refused;
        if (seq % 64 == 0) std::this_thread::yield();
      }
    });
  }
  std::size_t streamed = 0;
  rec.onData = [&](const hid::test::Report& r) { streamed += r.data.size() == 7 && r.data[0] == kStreamMarker; };
  int posted = 0, ran = 0;
  const bool finished = BusyLoopUntil([&] { return streamed >= 3u * perDevice; },
      devices, posted, ran);
  for (auto& t : injectors) t.join();
  ASSERT_TRUE(finished) << streamed << " of " << 3 * perDevice << " reports arrived";
  EXPECT_EQ(refused.load(), 0u) << "reports found no open read handle";
  queue.ServeUntil([&] { return ran == posted; }, 10s);
  EXPECT_EQ(ran, posted);
  for (const auto& p : pedals) ExpectExactlyOnceInOrder(p->Instance(), perDevice);
  // Read-outs were written and their (unanswered) requests recorded in order.
  for (const auto& p : pedals) EXPECT_GT(p->WriteCount(), 0u);

  while (!owned_.empty()) Destroy(owned_.back());
  for (const auto& p : pedals) bus.Unplug(p);
  Pump();
  EXPECT_EQ(ctl->Count(), 0);
  ctl.reset();
  ExpectNoThreadOrFdLeft();
}

// After an unplug, whatever was still queued for the main thread is dropped:
// nothing reaches the data handler once the removal has been seen.
TEST_F(Delivery, NoReportAfterTheRemovalWasSeen) {
  MakeController();
  const int cycles = Scaled(300);
  for (int c = 0; c < cycles; ++c) {
    std::shared_ptr<VirtualDevice> p;
    THidDevice* d = nullptr;
    ASSERT_NO_FATAL_FAILURE(PlugReadingPedal(p, d));
    std::thread injector([p] {
      for (std::uint32_t seq = 1; seq <= 50; ++seq) p->InjectInput(SequencedReport(kStreamMarker, seq, 0));
    });
    queue.ServeUntil([] { return false; }, std::chrono::milliseconds(c % 3));
    bus.Unplug(p);
    injector.join();
    Pump();
    ASSERT_FALSE(d->Present());
    const std::size_t atRemoval = rec.reports.size();
    queue.ServeUntil([] { return false; }, 2ms);
    EXPECT_EQ(rec.reports.size(), atRemoval) << "cycle " << c;
    Destroy(d);
    Pump();
    ASSERT_EQ(ctl->Count(), 0);
    ASSERT_EQ(p->OpenHandles(), 0);
  }
  ctl.reset();
  ExpectNoThreadOrFdLeft();
}

}  // namespace
}  // namespace stress
