#include <algorithm>

#include "HidTestSupport.h"

namespace hid::test {
namespace {

using Log = std::vector<std::string>;

class ControllerTest : public HidFixture {
 protected:
  // A device change the controller does not list (it cannot be opened): the
  // monitor fires once, the scan finds nothing new.
  void SignalWithoutChange() {
    auto s = PedalDescription();
    s.access = Access::Refused;
    bus.Plug(s);
  }
};

TEST_F(ControllerTest, FirstNotificationFiresChangeEvenWithoutDevicesLaterOnesOnlyOnChange) {
  MakeController();
  EXPECT_TRUE(ctl->Loaded());
  EXPECT_TRUE(ctl->HasMonitor());
  EXPECT_TRUE(rec.log.empty());  // nothing before the loop serves the first notification
  Pump();
  EXPECT_EQ(rec.Take(), Log{"change"});
  SignalWithoutChange();
  Pump();
  EXPECT_TRUE(rec.log.empty());
  EXPECT_EQ(bus.ScanCount(), 2u);
  auto pedal = bus.Plug(PedalDescription());
  Pump();
  EXPECT_EQ(rec.Take(), (Log{"arrival " + std::to_string(pedal->Instance()), "change"}));
  EXPECT_EQ(rec.inCallbackSeen, std::vector<bool>{true});
  EXPECT_FALSE(ctl->At(0)->InCallback());
}

TEST_F(ControllerTest, WithoutThePlatformLibraryNothingIsEverScanned) {
  bus.SetLoadFails(true);
  bus.Plug(PedalDescription());
  MakeController();
  EXPECT_FALSE(ctl->Loaded());
  EXPECT_FALSE(ctl->HasMonitor());
  EXPECT_EQ(ctl->MonitorFd(), -1);
  EXPECT_FALSE(queue.HasPending());
  ctl->OnMonitorReadable();
  ctl->DeviceChange();
  EXPECT_EQ(ctl->Count(), 0);
  EXPECT_EQ(bus.ScanCount(), 0u);
  EXPECT_TRUE(rec.log.empty());
  ctl.reset();
  EXPECT_EQ(bus.LoadCount(), 0);
}

TEST_F(ControllerTest, NoMonitorStillGivesTheFirstScan) {
  bus.SetMonitorFails(true);
  bus.Plug(PedalDescription());
  MakeController();
  EXPECT_FALSE(ctl->HasMonitor());
  EXPECT_EQ(ctl->MonitorFd(), -1);
  Pump();
  EXPECT_EQ(ctl->Count(), 1);
  EXPECT_EQ(rec.log.back(), "change");
}

TEST_F(ControllerTest, UnplugOfAnAvailableDeviceRemovesIt) {
  auto a = bus.Plug(PedalDescription(u"A"));
  auto b = bus.Plug(PedalDescription(u"B"));
  MakeController();
  Pump();
  rec.Take();
  bus.Unplug(a);
  Pump();
  // Its unplug handler fires as the device is marked, then the removal.
  EXPECT_EQ(rec.Take(), (Log{"unplug " + std::to_string(a->Instance()),
                             "removal " + std::to_string(a->Instance()), "change"}));
  ASSERT_EQ(ctl->Count(), 1);
  EXPECT_EQ(ctl->At(0)->PnPInfo().DeviceInstance, b->Instance());
  EXPECT_EQ(a->OpenHandles(), 0);
}

TEST_F(ControllerTest, UnpluggedCheckedOutDeviceStaysListedAndIsReportedAtEveryRescan) {
  auto pedal = bus.Plug(PedalDescription());
  MakeController();
  Pump();
  rec.Take();
  THidDevice* d = CheckOut(0);
  ASSERT_TRUE(ReaderReady(pedal));
  const std::string name = Name(d);
  bus.Unplug(pedal);
  Pump();
  EXPECT_EQ(rec.Take(), (Log{"unplug " + name, "removal " + name, "change"}));
  EXPECT_FALSE(d->Present());
  EXPECT_FALSE(d->UnplugHandler());  // fired once, then cleared
  ASSERT_EQ(ctl->Count(), 1);
  EXPECT_EQ(ctl->At(0), d);
  EXPECT_EQ(ctl->EnumerateDevices(), 0);  // not offered: not present
  SignalWithoutChange();
  Pump();
  EXPECT_EQ(rec.Take(), (Log{"removal " + name, "change"}));
  // Plugged in again while the old object is still held: a new object arrives.
  auto again = bus.Plug([&] {
    auto s = PedalDescription();
    s.instance = pedal->Instance();
    return s;
  }());
  Pump();
  EXPECT_EQ(rec.Take(), (Log{"removal " + name, "arrival " + name, "change"}));
  ASSERT_EQ(ctl->Count(), 2);
  EXPECT_NE(ctl->At(1), d);
  Destroy(d);
  ASSERT_EQ(ctl->Count(), 1);
  EXPECT_TRUE(ctl->At(0)->Present());
  SignalWithoutChange();
  Pump();
  EXPECT_TRUE(rec.log.empty());
}

TEST_F(ControllerTest, OneRescanFiresRemovalsFromTheEndThenArrivalsThenOneChange) {
  auto a = bus.Plug(PedalDescription(u"A"));
  auto b = bus.Plug(PedalDescription(u"B"));
  auto c = bus.Plug(PedalDescription(u"C"));
  MakeController();
  Pump();
  rec.Take();
  // A device object made for b again is a duplicate: no event for it.
  bus.Unplug(a);
  bus.Unplug(c);
  auto d = bus.Plug(PedalDescription(u"D"));
  auto e = bus.Plug(PedalDescription(u"E"));
  Pump();
  auto id = [](const auto& dev) { return std::to_string(dev->Instance()); };
  EXPECT_EQ(rec.Take(), (Log{"unplug " + id(c), "removal " + id(c), "unplug " + id(a), "removal " + id(a),
                             "arrival " + id(d), "arrival " + id(e), "change"}));
  ASSERT_EQ(ctl->Count(), 3);
  EXPECT_EQ(ctl->At(0)->PnPInfo().DeviceInstance, b->Instance());
  EXPECT_EQ(ctl->At(2)->PnPInfo().DeviceInstance, e->Instance());
  for (const auto& dev : {a, b, c, d, e}) EXPECT_EQ(dev->OpenHandles(), 0);
}

TEST_F(ControllerTest, ARemovalHandlerThatGivesBackAnEarlierDeviceLeavesEveryOtherHandledOnce) {
  auto a = bus.Plug(PedalDescription(u"A"));
  auto b = bus.Plug(PedalDescription(u"B"));
  auto c = bus.Plug(PedalDescription(u"C"));
  MakeController();
  Pump();
  THidDevice* first = CheckOut(0);
  CheckOut(1);
  THidDevice* last = CheckOut(2);
  ASSERT_NE(last, nullptr);
  rec.Take();
  // C's unplug handler gives A back; A no longer opens, so its entry goes
  // and the entries behind it move up.
  ctl->SetOnRemoval(MakeHandler(&rec, &Recorder::Removal));
  bool given = false;
  auto giveBackFirst = [&] {
    if (given) return;
    given = true;
    Destroy(first);
  };
  struct GiveBack {
    std::function<void()> fn;
    void Removal(THidDevice*) { fn(); }
  } hook{giveBackFirst};
  ctl->SetOnDeviceUnplug(MakeHandler(&hook, &GiveBack::Removal));
  bus.Unplug(a);
  bus.Unplug(c);
  ctl->DeviceChange();  // one rescan for both (a monitor may notify once for each)
  const auto log = rec.Take();
  EXPECT_EQ(std::count(log.begin(), log.end(), "removal " + Name(last)), 1) << ::testing::PrintToString(log);
  EXPECT_EQ(ctl->Count(), 2);  // B, and C until its owner gives it back
}

#ifndef NDEBUG
using ControllerDeathTest = ControllerTest;

TEST_F(ControllerDeathTest, DeletingADeviceInsideAHandlerRunningForItFailsLoudly) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Self {
    void Delete(THidDevice* device) { delete device; }
  } self;
  EXPECT_DEATH(
      {
        auto pedal = bus.Plug(PedalDescription());
        MakeController();
        Pump();
        CheckOut(0);
        ctl->SetOnRemoval(MakeHandler(&self, &Self::Delete));
        bus.Unplug(pedal);
        Pump();
      },
      "deleted inside an event or report handler");
  EXPECT_DEATH(
      {
        auto pedal = bus.Plug(PedalDescription());
        MakeController();
        Pump();
        THidDevice* device = CheckOut(0);
        rec.onData = [device](const Report&) { delete device; };
        pedal->InjectInput({2, 0x81, 0, 0, 0, 0, 0, 0});
        ServeUntil([] { return false; }, 10s);
      },
      "deleted inside an event or report handler");
}
#endif

TEST_F(ControllerTest, EnumerateOffersPresentDevicesInOrder) {
  MakeController();
  Pump();
  EXPECT_EQ(ctl->EnumerateDevices(), 0);
  auto a = bus.Plug(PedalDescription(u"A"));
  auto b = bus.Plug(PedalDescription(u"B"));
  Pump();
  rec.Take();
  rec.inCallbackSeen.clear();
  EXPECT_EQ(ctl->EnumerateDevices(), 2);
  EXPECT_EQ(rec.Take(), (Log{"enumerate " + std::to_string(a->Instance()) + " at 0",
                             "enumerate " + std::to_string(b->Instance()) + " at 1"}));
  EXPECT_EQ(rec.inCallbackSeen, (std::vector<bool>{true, true}));
  rec.enumerateResult = false;
  EXPECT_EQ(ctl->EnumerateDevices(), 1);
  ctl->SetOnEnumerate(THidEnumerateEvent());
  EXPECT_EQ(ctl->EnumerateDevices(), 1);  // no handler: the first one ends it
}

TEST_F(ControllerTest, EnumerateHandlerMayQueryAndCheckOut) {
  auto pedal = bus.Plug(PedalDescription());
  auto other = bus.Plug([] {
    auto s = PedalDescription(u"kbd");
    s.vendorId = 0x046D;
    return s;
  }());
  MakeController();
  Pump();
  std::vector<THidDevice*> kept;
  rec.onEnumerate = [&](THidDevice* d, std::int32_t idx) {
    EXPECT_EQ(d->SerialText(), d->VendorID() == 0x16C0 ? u"VK0001" : u"kbd");
    if (d->VendorID() != 0x16C0) return;
    THidDevice* out = nullptr;
    ASSERT_TRUE(ctl->CheckOutAt(out, idx));
    EXPECT_EQ(out, d);
    kept.push_back(out);
  };
  EXPECT_EQ(ctl->EnumerateDevices(), 2);
  ASSERT_EQ(kept.size(), 1u);
  for (THidDevice* d : kept) owned_.push_back(d);
  EXPECT_TRUE(kept[0]->CheckedOut());
  EXPECT_TRUE(ReaderReady(pedal));
  EXPECT_EQ(other->OpenHandles(), 0);  // not kept: handles closed after the event
}

TEST_F(ControllerTest, CheckOutAtRefusesBadIndexesAndCheckedOutEntries) {
  bus.Plug(PedalDescription(u"A"));
  bus.Plug(PedalDescription(u"B"));
  MakeController();
  Pump();
  THidDevice* out = reinterpret_cast<THidDevice*>(0x1);
  EXPECT_FALSE(ctl->CheckOutAt(out, -1));
  EXPECT_EQ(out, nullptr);
  out = reinterpret_cast<THidDevice*>(0x1);
  EXPECT_FALSE(ctl->CheckOutAt(out, ctl->Count()));
  EXPECT_EQ(out, nullptr);
  THidDevice* first = CheckOut(1);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->CheckedOut());
  out = reinterpret_cast<THidDevice*>(0x1);
  EXPECT_FALSE(ctl->CheckOutAt(out, 1));
  EXPECT_EQ(out, nullptr);
}

bool IsEight(THidDevice* d) {
  platform::HIDP_CAPS caps;
  d->ReadCaps(caps);  // allowed: the filter runs inside an event for the device
  return caps.InputReportByteLength == 8;
}

TEST_F(ControllerTest, CheckOutFirstMatchPassesOverCheckedOutAndRejectedDevices) {
  auto small = PedalDescription(u"small");
  small.inputLength = 4;
  auto s = bus.Plug(small);
  bus.Plug(PedalDescription(u"A"));
  bus.Plug(PedalDescription(u"B"));
  MakeController();
  Pump();
  THidDevice* a = CheckOut(1);
  THidDevice* out = nullptr;
  ASSERT_TRUE(ctl->CheckOutFirstMatch(out, &IsEight));
  owned_.push_back(out);
  EXPECT_EQ(out, ctl->At(2));
  EXPECT_NE(out, a);
  EXPECT_EQ(s->OpenHandles(), 0);
  EXPECT_FALSE(ctl->CheckOutFirstMatch(out, &IsEight));
  EXPECT_EQ(out, nullptr);
  EXPECT_FALSE(ctl->CheckOutFirstMatch(out, nullptr));
}

TEST_F(ControllerTest, AssigningTheSameChangeHandlerDoesNotRescan) {
  MakeController();
  Pump();
  const unsigned scans = bus.ScanCount();
  Recorder other;
  ctl->SetOnDeviceChange(MakeHandler(&other, &Recorder::Change));  // same code, other object
  EXPECT_EQ(bus.ScanCount(), scans);
  ctl->SetOnDeviceChange(MakeHandler(&rec, &Recorder::OtherChange));
  EXPECT_EQ(bus.ScanCount(), scans + 1);
  ctl->BeginLoading();
  ctl->SetOnDeviceChange(MakeHandler(&rec, &Recorder::Change));
  ctl->EndLoading();
  EXPECT_EQ(bus.ScanCount(), scans + 1);
}

TEST_F(ControllerTest, AThrowingHandlerLeavesTheRescanButNotItsMarks) {
  auto a = bus.Plug(PedalDescription(u"A"));
  MakeController();
  Pump();
  rec.Take();
  rec.onChange = [] { throw std::runtime_error("window failed"); };
  bus.Plug(PedalDescription(u"B"));
  EXPECT_THROW(Pump(), std::runtime_error);
  rec.onChange = nullptr;
  ASSERT_EQ(ctl->Count(), 2);
  EXPECT_FALSE(ctl->At(1)->InCallback());
  rec.Take();
  bus.Unplug(a);
  Pump();  // still handled: the in-device-change mark was cleared
  EXPECT_EQ(rec.log.back(), "change");
}

TEST_F(ControllerTest, NotificationDuringARescanIsDropped) {
  MakeController();
  Pump();
  rec.Take();
  int nested = 0;
  rec.onChange = [&] {
    if (nested++ > 0) return;
    bus.Plug(PedalDescription(u"late"));
    Pump();  // a nested loop delivering the next notification
  };
  bus.Plug(PedalDescription(u"first"));
  Pump();
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(ctl->Count(), 1);
  Pump();  // drained all the same: nothing left to rescan for
  EXPECT_EQ(ctl->Count(), 1);
}

// Both ways a monitor reaches the host end in the same rescans.
TEST_F(ControllerTest, MonitorThatNotifiesByItselfRescansThroughTheQueue) {
  bus.SetMonitorDelivery(platform::virt::MonitorDelivery::Callback);
  MakeController();
  EXPECT_TRUE(ctl->HasMonitor());
  EXPECT_EQ(ctl->MonitorFd(), -1);
  queue.ServePending();
  EXPECT_EQ(rec.Take(), Log{"change"});
  std::shared_ptr<VirtualDevice> pedal;
  std::thread plugger([&] { pedal = bus.Plug(PedalDescription()); });
  plugger.join();
  EXPECT_TRUE(rec.log.empty());  // nothing runs on the plugging thread
  ASSERT_TRUE(ServeUntil([&] { return !rec.log.empty(); }));
  EXPECT_EQ(rec.Take(), (Log{"arrival " + std::to_string(pedal->Instance()), "change"}));
  bus.Unplug(pedal);
  ctl.reset();  // a notification still queued finds no controller
  queue.ServePending();
  EXPECT_TRUE(rec.log.empty());
}

TEST_F(ControllerTest, ABurstOfNotificationsQueuesOneRescan) {
  bus.SetMonitorDelivery(platform::virt::MonitorDelivery::Callback);
  MakeController();
  queue.ServePending();
  rec.Take();
  const unsigned scans = bus.ScanCount();
  std::thread plugger([&] {
    for (const char16_t* serial : {u"A", u"B", u"C"}) bus.Plug(PedalDescription(serial));
  });
  plugger.join();
  queue.ServePending();
  EXPECT_EQ(bus.ScanCount(), scans + 1);
  EXPECT_EQ(ctl->Count(), 3);
  // The next burst queues a rescan of its own.
  bus.Unplug(bus.Devices().front());
  bus.Unplug(bus.Devices().front());
  queue.ServePending();
  EXPECT_EQ(bus.ScanCount(), scans + 2);
  EXPECT_EQ(ctl->Count(), 1);
}

TEST_F(ControllerTest, HandlerPropagationReachesDevicesWithTheControllersHandler) {
  bus.Plug(PedalDescription(u"A"));
  bus.Plug(PedalDescription(u"B"));
  MakeController();
  Pump();
  THidDevice* a = ctl->At(0);
  THidDevice* b = ctl->At(1);
  b->SetDataHandler(MakeHandler(&rec, &Recorder::OtherData));
  b->SetUnplugHandler(MakeHandler(&rec, &Recorder::OtherUnplug));
  Recorder other;
  ctl->SetOnDeviceData(MakeHandler(&other, &Recorder::Data));  // same code: nothing changes
  EXPECT_EQ(a->DataHandler().Object(), &rec);
  ctl->SetOnDeviceData(THidDataEvent());
  ctl->SetOnDeviceUnplug(THidPlugEvent());
  ctl->SetOnDeviceDataError(MakeHandler(&rec, &Recorder::DataError));
  EXPECT_FALSE(a->DataHandler());
  EXPECT_FALSE(a->UnplugHandler());
  EXPECT_TRUE(a->DataErrorHandler());
  EXPECT_EQ(b->DataHandler(), MakeHandler(&rec, &Recorder::OtherData));
  EXPECT_EQ(b->UnplugHandler(), MakeHandler(&rec, &Recorder::OtherUnplug));
  // A device made now takes data and unplug handlers, never the data-error one.
  ctl->SetOnDeviceData(MakeHandler(&rec, &Recorder::Data));
  ctl->SetOnDeviceUnplug(MakeHandler(&rec, &Recorder::Unplug));
  bus.Plug(PedalDescription(u"C"));
  Pump();
  THidDevice* c = ctl->At(2);
  EXPECT_EQ(c->DataHandler(), MakeHandler(&rec, &Recorder::Data));
  EXPECT_EQ(c->UnplugHandler(), MakeHandler(&rec, &Recorder::Unplug));
  EXPECT_FALSE(c->DataErrorHandler());
}

TEST_F(ControllerTest, SleepTimeReachesDevicesThatHadTheOldOne) {
  bus.Plug(PedalDescription(u"A"));
  bus.Plug(PedalDescription(u"B"));
  MakeController();
  Pump();
  ctl->At(1)->SetReaderWaitTime(300);
  ctl->SetDevThreadSleepTime(50);
  EXPECT_EQ(ctl->At(0)->ReaderWaitTime(), 50u);
  EXPECT_EQ(ctl->At(1)->ReaderWaitTime(), 300u);
  ctl->SetDevThreadSleepTime(5);  // kept by the controller, ignored by devices
  EXPECT_EQ(ctl->DevThreadSleepTime(), 5);
  EXPECT_EQ(ctl->At(0)->ReaderWaitTime(), 50u);
  bus.Plug(PedalDescription(u"C"));
  Pump();
  EXPECT_EQ(ctl->At(2)->ReaderWaitTime(), 100u);
  EXPECT_EQ(ctl->Version(), "1.0.32");
  ctl->SetVersion("2.0");
  EXPECT_EQ(ctl->Version(), "1.0.32");
}

TEST_F(ControllerTest, DestructionDetachesDevicesAndReleasesThePlatform) {
  auto a = bus.Plug(PedalDescription(u"A"));
  auto b = bus.Plug(PedalDescription(u"B"));
  MakeController();
  Pump();
  THidDevice* held = CheckOut(1);
  held->SetUnplugHandler(MakeHandler(&rec, &Recorder::OtherUnplug));
  ASSERT_TRUE(ReaderReady(b));
  rec.Take();
  EXPECT_EQ(bus.LoadCount(), 1);
  ctl.reset();
  EXPECT_EQ(rec.Take(), Log{"other unplug " + Name(held)});  // its own handler fires
  EXPECT_FALSE(held->Present());
  EXPECT_EQ(held->Controller(), nullptr);
  EXPECT_EQ(bus.LoadCount(), 0);
  EXPECT_EQ(a->OpenHandles(), 0);
  Destroy(held);
  EXPECT_EQ(b->OpenHandles(), 0);
}

TEST_F(ControllerTest, ControllerGoneBeforeItsFirstNotificationIsServed) {
  MakeController();
  ctl.reset();
  queue.ServePending();  // the posted notification finds no controller: nothing happens
  EXPECT_TRUE(rec.log.empty());
}

}  // namespace
}  // namespace hid::test
