// Hot-plug storms on the virtual bus: pedals plugged and unplugged thousands
// of times while their readers deliver injected reports and read-outs are
// written. Afterwards no device object, open handle, thread or descriptor may
// be left, and reports of one device must never arrive out of order.
#include <atomic>
#include <map>
#include <random>
#include <thread>

#include "protocol/PedalReport.h"
#include "stress/StormFixture.h"

namespace stress {
namespace {

using hid::test::PedalDescription;

class HotPlugStorm : public StormFixture {
 protected:
  // A read request written to `d`; true when all 8 bytes went out.
  static bool ReadOut(THidDevice* d, int pedal) {
    const protocol::PedalReport request = protocol::BuildReadRequest(pedal);
    std::uint32_t written = 0;
    return d->WriteReport(request.data(), static_cast<std::uint32_t>(request.size()), written) && written == 8;
  }

  // The pedal answers every write with one answer report, as the firmware does.
  static void AnswerWrites(const std::shared_ptr<VirtualDevice>& p) {
    VirtualDevice* raw = p.get();  // the hook lives in the device: no owning capture
    p->SetWriteHook([raw](const std::uint8_t*, std::size_t) {
      raw->InjectInput(SequencedReport(kAnswerMarker, 0, raw->Instance()));
    });
  }

  void EndAndExpectNothingLeft(const std::vector<std::shared_ptr<VirtualDevice>>& plugged) {
    for (const auto& p : bus.Devices()) bus.Unplug(p);
    Pump();
    while (!owned_.empty()) Destroy(owned_.back());
    Pump();
    EXPECT_EQ(ctl->Count(), 0);
    for (const auto& p : plugged) EXPECT_EQ(p->OpenHandles(), 0) << p->Path();
    ctl.reset();
    ExpectNoThreadOrFdLeft();
  }
};

// One pedal, four ways a plug cycle can end: drained then unplugged; unplugged
// with reports and an answer still on the way; given back before the unplug;
// unplugged before its owner noticed and then given back.
TEST_F(HotPlugStorm, OnePedalPlugCyclesLeaveNothingBehind) {
  MakeController();
  Pump();
  const int cycles = Scaled(1200);
  std::vector<std::shared_ptr<VirtualDevice>> plugged;
  plugged.reserve(static_cast<std::size_t>(cycles));

  for (int c = 0; c < cycles; ++c) {
    auto p = bus.Plug(PedalDescription());
    AnswerWrites(p);
    plugged.push_back(p);
    Pump();
    ASSERT_EQ(ctl->Count(), 1) << "cycle " << c;
    THidDevice* d = CheckOut(0);
    ASSERT_NE(d, nullptr) << "cycle " << c;
    ASSERT_TRUE(d->ReaderRunning());

    const std::size_t before = rec.reports.size();
    switch (c % 4) {
      case 0: {
        ASSERT_TRUE(ReaderReady(p));
        ASSERT_TRUE(ReadOut(d, c % 3));
        for (std::uint32_t i = 1; i <= 3; ++i) ASSERT_EQ(p->InjectInput(SequencedReport(kStreamMarker, i, 0)), 1u);
        ASSERT_TRUE(ServeUntil([&] { return rec.reports.size() == before + 4; })) << "cycle " << c;
        EXPECT_EQ(rec.reports[before].data[0], kAnswerMarker);
        for (std::uint32_t i = 1; i <= 3; ++i) EXPECT_EQ(SeqOf(rec.reports[before + i].data), i);
        bus.Unplug(p);
        Pump();
        Destroy(d);
        break;
      }
      case 1:
        ReadOut(d, 0);  // the reader may not have its handle yet: the answer may be lost
        p->InjectInput(SequencedReport(kStreamMarker, 1, 0));
        bus.Unplug(p);
        Pump();
        Destroy(d);
        EXPECT_LE(rec.reports.size(), before + 2);
        break;
      case 2:
        Destroy(d);  // a fresh object takes its place
        ASSERT_EQ(ctl->Count(), 1);
        bus.Unplug(p);
        Pump();
        break;
      default:
        bus.Unplug(p);
        Destroy(d);  // the fresh object cannot open: the entry goes
        Pump();
        break;
    }
    ASSERT_EQ(ctl->Count(), 0) << "cycle " << c;
    ASSERT_EQ(p->OpenHandles(), 0) << "cycle " << c;
  }
  EndAndExpectNothingLeft(plugged);
}

// Three pedals plugged, checked out, written to, given back and unplugged in
// random order while a second thread keeps injecting numbered reports into
// every attached pedal.
TEST_F(HotPlugStorm, ThreePedalsRandomStormWithConcurrentInjection) {
  MakeController();
  Pump();
  std::map<std::uint32_t, std::uint32_t> lastSeq;  // instance -> last stream number seen
  std::size_t outOfOrder = 0;
  rec.onData = [&](const hid::test::Report& r) {
    if (r.data.size() != 7 || r.data[0] != kStreamMarker) return;
    const std::uint32_t seq = SeqOf(r.data);
    auto [it, fresh] = lastSeq.emplace(InstanceOf(r.data), seq);
    if (!fresh) {
      if (seq <= it->second) ++outOfOrder;
      it->second = seq;
    }
  };

  std::atomic<bool> stop{false};
  std::atomic<std::uint64_t> injected{0};
  std::thread injector([&] {
    std::map<std::uint32_t, std::uint32_t> next;
    while (!stop.load()) {
      for (const auto& p : bus.Devices()) {
        const std::uint32_t seq = ++next[p->Instance()];
        p->InjectInput(SequencedReport(kStreamMarker, seq, p->Instance()));
        ++injected;
      }
      std::this_thread::sleep_for(20us);
    }
  });
  // Stops the injector however the test leaves.
  auto stopInjector = std::shared_ptr<void>(nullptr, [&](void*) {
    stop = true;
    injector.join();
  });

  std::mt19937 rng(20261208);
  std::vector<std::shared_ptr<VirtualDevice>> slots(3);
  std::vector<std::shared_ptr<VirtualDevice>> plugged;
  const std::u16string serials[] = {u"VK0001", u"VK0002", u"VK0003"};
  const int steps = Scaled(4000);
  std::size_t writesOk = 0;
  for (int s = 0; s < steps; ++s) {
    const auto slot = static_cast<std::size_t>(rng() % 3);
    switch (rng() % 6) {
      case 0:
      case 1:  // plug or unplug
        if (slots[slot]) {
          bus.Unplug(slots[slot]);
          slots[slot].reset();
        } else {
          slots[slot] = bus.Plug(PedalDescription(serials[slot]));
          AnswerWrites(slots[slot]);
          plugged.push_back(slots[slot]);
        }
        break;
      case 2:  // check out whatever stands for the slot's pedal
        if (slots[slot]) {
          const std::int32_t idx = IndexOf(slots[slot]);
          if (idx >= 0 && !ctl->At(idx)->CheckedOut()) {
            ASSERT_NE(CheckOut(idx), nullptr);
          }
        }
        break;
      case 3:  // give one back
        if (!owned_.empty()) Destroy(owned_[rng() % owned_.size()]);
        break;
      case 4:  // a read-out on every checked-out pedal still present
        for (THidDevice* d : owned_) {
          if (d->Present() && ReadOut(d, s % 3)) ++writesOk;
        }
        break;
      default:  // let the readers deliver for a while
        queue.ServeUntil([] { return false; }, 1ms);
        break;
    }
    Pump();
    // Gone pedals stay listed only while their owner still holds them.
    int present = 0;
    for (std::int32_t i = 0; i < ctl->Count(); ++i) {
      THidDevice* d = ctl->At(i);
      if (d->Present()) {
        ++present;
      } else {
        ASSERT_TRUE(d->CheckedOut()) << "step " << s;
      }
    }
    ASSERT_LE(present, 3) << "step " << s;
  }
  stopInjector.reset();
  EndAndExpectNothingLeft(plugged);
  EXPECT_EQ(outOfOrder, 0u);
  EXPECT_GT(injected.load(), 0u);
  EXPECT_FALSE(lastSeq.empty()) << "no report reached the data handler";
  std::printf("[ storm    ] %d steps, %zu devices plugged, %zu read-outs written, %llu reports injected, %zu delivered\n",
              steps, plugged.size(), writesOk, static_cast<unsigned long long>(injected.load()), rec.reports.size());
}

}  // namespace
}  // namespace stress
