// Data handlers that throw, or that give back another pedal from inside a
// report: the layer must neither deadlock nor lose the other pedals' order.
#include <atomic>
#include <map>
#include <stdexcept>
#include <thread>

#include "stress/StormFixture.h"

namespace stress {
namespace {

using hid::test::PedalDescription;

class HandlerReentry : public StormFixture {
 protected:
  void PlugThree() {
    for (const char16_t* serial : {u"VK0001", u"VK0002", u"VK0003"}) pedals.push_back(bus.Plug(PedalDescription(serial)));
    Pump();
  }
  THidDevice* CheckOutPedal(std::size_t i) {
    THidDevice* d = CheckOut(IndexOf(pedals[i]));
    EXPECT_NE(d, nullptr);
    if (d != nullptr) {
      EXPECT_TRUE(ReaderReady(pedals[i]));
    }
    return d;
  }
  void EndClean() {
    while (!owned_.empty()) Destroy(owned_.back());
    for (const auto& p : pedals) bus.Unplug(p);
    Pump();
    EXPECT_EQ(ctl->Count(), 0);
    for (const auto& p : pedals) EXPECT_EQ(p->OpenHandles(), 0);
    ctl.reset();
    ExpectNoThreadOrFdLeft();
  }

  std::vector<std::shared_ptr<VirtualDevice>> pedals;
};

// A handler that throws for one pedal ends that pedal's reader only; the
// other two keep delivering every report in order, and the thrower's device
// can be given back and checked out again with a working reader.
TEST_F(HandlerReentry, ThrowingHandlerEndsOnlyThatReader) {
  MakeController();
  PlugThree();
  const int rounds = Scaled(50);
  for (int r = 0; r < rounds; ++r) {
    std::vector<THidDevice*> d;
    for (std::size_t i = 0; i < 3; ++i) d.push_back(CheckOutPedal(i));
    ASSERT_TRUE(d[0] && d[1] && d[2]);
    THidDevice* thrower = d[1];
    std::map<THidDevice*, std::uint32_t> last;
    std::size_t fromThrower = 0;
    rec.onData = [&](const hid::test::Report& rep) {
      if (rep.device == thrower) {
        ++fromThrower;
        throw std::runtime_error("handler failed");
      }
      const std::uint32_t seq = SeqOf(rep.data);
      EXPECT_EQ(seq, last[rep.device] + 1);
      last[rep.device] = seq;
    };
    const std::uint32_t n = 200;
    std::thread injector([&] {
      for (std::uint32_t seq = 1; seq <= n; ++seq) {
        for (const auto& p : pedals) p->InjectInput(SequencedReport(kStreamMarker, seq, 0));
      }
    });
    const bool done = ServeUntil([&] { return last[d[0]] == n && last[d[2]] == n; }, 60s);
    injector.join();
    ASSERT_TRUE(done) << "round " << r << ": " << last[d[0]] << ", " << last[d[2]];
    queue.ServeUntil([] { return false; }, 1ms);
    EXPECT_EQ(fromThrower, 1u) << "the failed reader went on delivering";
    rec.onData = nullptr;
    // Given back and taken again, the device reads as before.
    Destroy(thrower);
    THidDevice* again = CheckOutPedal(1);
    ASSERT_NE(again, nullptr);
    const std::size_t before = rec.reports.size();
    ASSERT_EQ(pedals[1]->InjectInput(SequencedReport(kStreamMarker, 1, 0)), 1u);
    ASSERT_TRUE(ServeUntil([&] { return rec.reports.size() == before + 1; }));
    EXPECT_EQ(rec.reports.back().device, again);
    while (!owned_.empty()) Destroy(owned_.back());
    rec.reports.clear();
  }
  EndClean();
}

// Inside a report of pedal A the handler gives back pedal B, whose reader may
// itself be waiting in a hand-off: the stop serves that hand-off nested inside
// A's handler. The main loop checks B out again later. No deadlock, and A's
// and C's reports stay complete and in order.
TEST_F(HandlerReentry, HandlerGivesBackAnotherPedalWhileItStreams) {
  MakeController();
  PlugThree();
  THidDevice* a = CheckOutPedal(0);
  THidDevice* b = CheckOutPedal(1);
  THidDevice* c = CheckOutPedal(2);
  ASSERT_TRUE(a && b && c);
  std::map<std::uint32_t, std::uint32_t> last;  // stream number per pedal slot (instance byte)
  int nesting = 0, maxNesting = 0, givenBack = 0;
  rec.onData = [&](const hid::test::Report& rep) {
    ++nesting;
    maxNesting = std::max(maxNesting, nesting);
    const std::uint32_t slot = InstanceOf(rep.data), seq = SeqOf(rep.data);
    if (slot != 1) {
      EXPECT_EQ(seq, last[slot] + 1) << "pedal " << slot;
    }
    last[slot] = seq;
    if (rep.device == a && seq % 16 == 0 && b != nullptr) {
      Destroy(b);  // a different device than the one this report is for
      b = nullptr;
      ++givenBack;
    }
    --nesting;
  };
  const auto n = static_cast<std::uint32_t>(Scaled(3000));
  std::atomic<bool> finished{false};
  std::thread injector([&] {
    for (std::uint32_t seq = 1; seq <= n; ++seq) {
      for (std::uint32_t i = 0; i < 3; ++i) pedals[i]->InjectInput(SequencedReport(kStreamMarker, seq, i));
      if (seq % 32 == 0) std::this_thread::yield();
    }
    finished = true;
  });
  const auto end = std::chrono::steady_clock::now() + 120s;
  while (!(finished && last[0] == n && last[2] == n) && std::chrono::steady_clock::now() < end) {
    queue.ServeUntil([&] { return finished && last[0] == n && last[2] == n; }, 1ms);
    if (b == nullptr) b = CheckOut(IndexOf(pedals[1]));  // B's reports between give-back and check-out are lost
  }
  injector.join();
  EXPECT_EQ(last[0], n);
  EXPECT_EQ(last[2], n);
  EXPECT_GT(givenBack, 0);
  std::printf("[ reentry  ] pedal B given back %d times from inside A's reports, nesting depth up to %d\n", givenBack,
              maxNesting);
  rec.onData = nullptr;
  EndClean();
}

}  // namespace
}  // namespace stress
