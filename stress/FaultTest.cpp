// Faults on the virtual bus: failing writes, a pedal removed between a read
// request and its answer, devices whose strings and descriptions fail or lie,
// and readers stopped while blocked in a hand-off.
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <thread>

#include "protocol/PedalReport.h"
#include "stress/StormFixture.h"

namespace stress {
namespace {

using hid::platform::HIDP_CAPS;
using hid::platform::virt::Access;
using hid::platform::virt::VirtualDeviceDescription;
using hid::test::PedalDescription;

class Faults : public StormFixture {
 protected:
  static bool Write(THidDevice* d, std::uint32_t& written) {
    const protocol::PedalReport request = protocol::BuildReadRequest(1);
    written = 12345;
    return d->WriteReport(request.data(), 8, written);
  }
  bool LogHas(const std::string& line) const { return std::find(rec.log.begin(), rec.log.end(), line) != rec.log.end(); }
};

TEST_F(Faults, WriteFailingOnTheSecondOfThreePedalsFailsThereOnly) {
  MakeController();
  auto first = bus.Plug(PedalDescription(u"VK0001"));
  VirtualDeviceDescription broken = PedalDescription(u"VK0002");
  broken.writeFailure.all = true;
  broken.writeFailure.error = EIO;
  auto second = bus.Plug(broken);
  auto third = bus.Plug(PedalDescription(u"VK0003"));
  Pump();
  ASSERT_EQ(ctl->Count(), 3);
  THidDevice* d1 = CheckOut(IndexOf(first));
  THidDevice* d2 = CheckOut(IndexOf(second));
  THidDevice* d3 = CheckOut(IndexOf(third));
  ASSERT_TRUE(d1 && d2 && d3);

  for (int round = 0; round < 3; ++round) {  // the failure neither spreads nor heals
    std::uint32_t w1 = 0, w2 = 0, w3 = 0;
    EXPECT_TRUE(Write(d1, w1));
    EXPECT_FALSE(Write(d2, w2));
    EXPECT_TRUE(Write(d3, w3));
    EXPECT_EQ(w1, 8u);
    EXPECT_EQ(w2, 0u);
    EXPECT_EQ(w3, 8u);
    EXPECT_EQ(d1->LastWriteError(), 0);
    EXPECT_EQ(d2->LastWriteError(), EIO);
    EXPECT_EQ(d3->LastWriteError(), 0);
  }
  EXPECT_EQ(first->WriteCount(), 3u);
  EXPECT_EQ(second->WriteCount(), 0u);
  EXPECT_EQ(third->WriteCount(), 3u);
  // The failing pedal still reads.
  ASSERT_TRUE(ReaderReady(second));
  ASSERT_EQ(second->InjectInput(SequencedReport(kStreamMarker, 7, 0)), 1u);
  ASSERT_TRUE(ServeUntil([&] { return !rec.reports.empty(); }));
  EXPECT_EQ(rec.reports.back().device, d2);
}

TEST_F(Faults, WriteWithoutAccessRightsSaysSo) {
  MakeController();
  VirtualDeviceDescription locked = PedalDescription(u"VK0002");
  locked.access = Access::ReadWriteRefused;
  auto p = bus.Plug(locked);
  Pump();
  THidDevice* d = CheckOut(IndexOf(p));
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(d->ReadWriteAccess());
  EXPECT_FALSE(d->ReaderRunning());
  std::uint32_t written = 0;
  EXPECT_FALSE(Write(d, written));
  EXPECT_EQ(written, 0u);
  EXPECT_TRUE(d->LastWriteError() == EACCES || d->LastWriteError() == EPERM) << d->LastWriteError();
  EXPECT_EQ(p->WriteCount(), 0u);
}

// The read request goes out, the pedal leaves before it answers: no crash, no
// answer, the owner sees the unplug and the removal, and the reader delivers
// nothing more. Repeated with the answer racing the unplug on another thread.
TEST_F(Faults, PedalRemovedBetweenReadRequestAndAnswer) {
  MakeController();
  const int cycles = Scaled(300);
  for (int c = 0; c < cycles; ++c) {
    std::shared_ptr<VirtualDevice> p;
    THidDevice* d = nullptr;
    ASSERT_NO_FATAL_FAILURE(PlugReadingPedal(p, d));
    const std::string name = hid::test::Name(d);
    rec.log.clear();
    const std::size_t before = rec.reports.size();

    std::uint32_t written = 0;
    ASSERT_TRUE(Write(d, written));
    if (c % 2 == 0) {
      bus.Unplug(p);
      EXPECT_EQ(p->InjectInput(SequencedReport(kAnswerMarker, 0, 0)), 0u) << "a gone pedal took a report";
    } else {
      std::thread answer([p] { p->InjectInput(SequencedReport(kAnswerMarker, 0, 0)); });
      bus.Unplug(p);
      answer.join();
    }
    Pump();
    EXPECT_TRUE(LogHas("unplug " + name)) << "cycle " << c;
    EXPECT_TRUE(LogHas("removal " + name)) << "cycle " << c;
    EXPECT_FALSE(d->Present());
    const std::size_t atRemoval = rec.reports.size();
    EXPECT_LE(atRemoval, before + 1);
    queue.ServeUntil([] { return false; }, 1ms);
    EXPECT_EQ(rec.reports.size(), atRemoval);
    std::uint32_t late = 0;
    EXPECT_FALSE(Write(d, late));
    EXPECT_EQ(late, 12345u) << "a write to a gone pedal touched its count";
    Destroy(d);
    Pump();
    ASSERT_EQ(ctl->Count(), 0);
    ASSERT_EQ(p->OpenHandles(), 0);
  }
  ctl.reset();
  ExpectNoThreadOrFdLeft();
}

// Devices whose strings, attributes, descriptions or opens fail or lie, plugged
// and unplugged beside a sound pedal: the sound one keeps working, the others
// show what the platform gave, nothing crashes or leaks.
TEST_F(Faults, DevicesThatFailOrLieAcrossPlugCycles) {
  MakeController();
  std::vector<VirtualDeviceDescription> odd;
  auto add = [&](auto change) {
    VirtualDeviceDescription d = PedalDescription(u"ODD" + std::u16string(1, char16_t(u'A' + odd.size())));
    change(d);
    odd.push_back(d);
  };
  add([](auto& d) { d.stringsFail = true; });
  add([](auto& d) { d.languageListFails = true; });
  add([](auto& d) { d.serialAnswersLanguageList = true; });
  add([](auto& d) { d.capsFail = true; });
  add([](auto& d) { d.attributesFail = true; });
  add([](auto& d) { d.access = Access::Refused; });
  add([](auto& d) { d.access = Access::ReadWriteRefused; });
  add([](auto& d) { d.inputLength = 1; });    // shorter than the reports it sends
  add([](auto& d) { d.inputLength = 4096; }); // far longer
  add([](auto& d) { d.inputLength = 0; d.outputLength = 0; });
  add([](auto& d) { d.product = u""; d.serial = u""; });

  const int cycles = Scaled(60);
  for (int c = 0; c < cycles; ++c) {
    auto good = bus.Plug(PedalDescription(u"GOOD"));
    std::vector<std::shared_ptr<VirtualDevice>> plugged;
    for (const auto& desc : odd) plugged.push_back(bus.Plug(desc));
    Pump();

    // Not identifiable, not openable: not listed.
    EXPECT_EQ(IndexOf(plugged[4]), -1) << "attributes fail";
    EXPECT_EQ(IndexOf(plugged[5]), -1) << "refused";

    for (std::size_t i = 0; i < plugged.size(); ++i) {
      const std::int32_t idx = IndexOf(plugged[i]);
      if (idx < 0) continue;
      THidDevice* d = CheckOut(idx);
      ASSERT_NE(d, nullptr);
      const std::u16string product = d->ProductText();
      const std::u16string serial = d->SerialText();
      HIDP_CAPS caps{};
      d->ReadCaps(caps);
      switch (i) {
        case 0:
          EXPECT_TRUE(product.empty());
          EXPECT_TRUE(serial.empty());
          break;
        case 2:
          EXPECT_TRUE(serial.empty()) << "a serial repeating the language list is no serial";
          break;
        case 3:
          EXPECT_EQ(caps.InputReportByteLength, 0);
          EXPECT_EQ(caps.OutputReportByteLength, 0);
          break;
        case 6:
          EXPECT_FALSE(d->ReaderRunning());
          break;
        case 7:
          EXPECT_EQ(caps.InputReportByteLength, 1);
          break;
        default:
          break;
      }
      plugged[i]->InjectInput(SequencedReport(kStreamMarker, 1, 0));
      std::uint32_t written = 0;
      Write(d, written);
    }
    const std::int32_t goodIdx = IndexOf(good);
    ASSERT_GE(goodIdx, 0);
    THidDevice* g = CheckOut(goodIdx);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->SerialText(), u"GOOD");
    ASSERT_TRUE(ReaderReady(good));
    const std::size_t before = rec.reports.size();
    ASSERT_EQ(good->InjectInput(SequencedReport(kStreamMarker, 2, 0)), 1u);
    ASSERT_TRUE(ServeUntil([&] {
      return std::any_of(rec.reports.begin() + static_cast<std::ptrdiff_t>(before), rec.reports.end(),
                         [&](const auto& r) { return r.device == g; });
    }));
    // A report cut to the read's one byte arrives as its id alone.
    for (const auto& r : rec.reports) {
      if (r.device->PnPInfo().DeviceInstance == plugged[7]->Instance()) {
        EXPECT_TRUE(r.data.empty());
      }
    }

    if (c % 2 == 0) {
      while (!owned_.empty()) Destroy(owned_.back());
      for (const auto& p : bus.Devices()) bus.Unplug(p);
      Pump();
    } else {
      for (const auto& p : bus.Devices()) bus.Unplug(p);
      Pump();
      while (!owned_.empty()) Destroy(owned_.back());
    }
    rec.reports.clear();  // the device pointers in them are gone
    ASSERT_EQ(ctl->Count(), 0);
    for (const auto& p : plugged) ASSERT_EQ(p->OpenHandles(), 0) << p->Path();
    ASSERT_EQ(good->OpenHandles(), 0);
  }
  ctl.reset();
  ExpectNoThreadOrFdLeft();
}

// The controller goes first while three checked-out pedals stream reports and
// their readers may sit in hand-offs; the owners give the devices back later.
TEST_F(Faults, ControllerDestroyedWhileCheckedOutReadersDeliver) {
  const int rounds = Scaled(100);
  for (int r = 0; r < rounds; ++r) {
    MakeController();
    std::vector<std::shared_ptr<VirtualDevice>> pedals;
    for (const char16_t* serial : {u"VK0001", u"VK0002", u"VK0003"}) pedals.push_back(bus.Plug(PedalDescription(serial)));
    Pump();
    for (const auto& p : pedals) {
      ASSERT_NE(CheckOut(IndexOf(p)), nullptr);
      ASSERT_TRUE(ReaderReady(p));
    }
    std::atomic<bool> stop{false};
    std::thread injector([&] {
      for (std::uint32_t seq = 1; !stop.load(); ++seq) {
        for (const auto& p : pedals) p->InjectInput(SequencedReport(kStreamMarker, seq, p->Instance()));
        std::this_thread::yield();
      }
    });
    queue.ServeUntil([] { return false; }, std::chrono::milliseconds(r % 3));
    ctl.reset();
    for (THidDevice* d : owned_) EXPECT_FALSE(d->Present()) << "round " << r;
    const std::size_t atReset = rec.reports.size();
    queue.ServeUntil([] { return false; }, 1ms);
    EXPECT_EQ(rec.reports.size(), atReset) << "a report arrived after the controller was gone";
    while (!owned_.empty()) Destroy(owned_.back());
    stop = true;
    injector.join();
    for (const auto& p : pedals) {
      EXPECT_EQ(p->OpenHandles(), 0);
      bus.Unplug(p);
    }
    queue.ServePending();
    rec.reports.clear();
  }
  ExpectNoThreadOrFdLeft();
}

// A reader blocked in a hand-off (its report waiting for the main thread) is
// stopped, by clearing the data handler or by giving the device back: the
// stop serves the hand-off, the reader ends, the report arrives at most once.
TEST_F(Faults, ReaderStoppedWhileBlockedInHandOffAThousandTimes) {
  MakeController();
  auto p = bus.Plug(PedalDescription());
  Pump();
  const int rounds = Scaled(1000);
  int delivered = 0;
  for (int r = 0; r < rounds; ++r) {
    THidDevice* d = CheckOut(IndexOf(p));
    ASSERT_NE(d, nullptr) << "round " << r;
    // A device given back with its handler cleared comes back without one.
    if (!d->DataHandler()) d->SetDataHandler(hid::MakeHandler(&rec, &hid::test::Recorder::Data));
    ASSERT_TRUE(ReaderReady(p)) << "round " << r;
    const std::size_t before = rec.reports.size();
    ASSERT_EQ(p->InjectInput(SequencedReport(kStreamMarker, static_cast<std::uint32_t>(r), 0)), 1u);
    // Wait, without serving, until the reader sits in its hand-off.
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (!queue.HasPending() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(20us);
    ASSERT_TRUE(queue.HasPending()) << "round " << r;
    if (r % 2 == 0) {
      d->SetDataHandler(hid::THidDataEvent());
      EXPECT_FALSE(d->ReaderRunning());
      Destroy(d);
    } else {
      Destroy(d);
    }
    EXPECT_LE(rec.reports.size(), before + 1);
    delivered += static_cast<int>(rec.reports.size() - before);
    EXPECT_FALSE(queue.HasPending()) << "a hand-off outlived its reader";
    ASSERT_EQ(p->OpenReadHandles(), 0) << "round " << r;
  }
  std::printf("[ handoff  ] %d stops in a hand-off, %d of the waiting reports delivered\n", rounds, delivered);
  bus.Unplug(p);
  Pump();
  EXPECT_EQ(ctl->Count(), 0);
  ctl.reset();
  ExpectNoThreadOrFdLeft();
}

}  // namespace
}  // namespace stress
