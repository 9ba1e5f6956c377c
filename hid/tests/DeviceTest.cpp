#include <cerrno>

#include "HidTestSupport.h"

namespace hid::test {
namespace {

class DeviceTest : public HidFixture {
 protected:
  // Plugs the devices, makes the controller and runs its first scan.
  void Start() {
    MakeController();
    Pump();
  }
};

TEST_F(DeviceTest, AttributesAreReadAtCreationAndNoHandleStaysOpen) {
  auto pedal = bus.Plug(PedalDescription());
  Start();
  ASSERT_EQ(ctl->Count(), 1);
  THidDevice* d = ctl->At(0);
  EXPECT_EQ(d->VendorID(), 0x16C0);
  EXPECT_EQ(d->ProductID(), 0x05E1);
  EXPECT_EQ(d->VersionNumber(), 0x0101);
  EXPECT_EQ(d->PnPInfo().DeviceInstance, pedal->Instance());
  EXPECT_EQ(d->DevicePath(), pedal->Path());
  EXPECT_TRUE(d->ReadWriteAccess());
  EXPECT_TRUE(d->Present());
  EXPECT_FALSE(d->CheckedOut());
  EXPECT_EQ(pedal->OpenHandles(), 0);
}

TEST_F(DeviceTest, DevicesThatCannotBeOpenedOrIdentifiedAreLeftOut) {
  auto closed = bus.Plug([] {
    auto s = PedalDescription();
    s.access = Access::Refused;
    return s;
  }());
  auto anonymous = bus.Plug([] {
    auto s = PedalDescription();
    s.attributesFail = true;
    return s;
  }());
  auto good = bus.Plug(PedalDescription());
  Start();
  ASSERT_EQ(ctl->Count(), 1);
  EXPECT_EQ(ctl->At(0)->PnPInfo().DeviceInstance, good->Instance());
  EXPECT_EQ(anonymous->OpenHandles(), 0);  // the failed creation released its handle
}

TEST_F(DeviceTest, DeviceWithoutAccessRightsIsListedButNeitherReadNorWritten) {
  auto keyboard = bus.Plug([] {
    auto s = PedalDescription();
    s.access = Access::ReadWriteRefused;
    return s;
  }());
  Start();
  ASSERT_EQ(ctl->Count(), 1);
  EXPECT_FALSE(ctl->At(0)->ReadWriteAccess());
  THidDevice* d = CheckOut(0);
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(d->ReaderRunning());
  EXPECT_EQ(keyboard->OpenReadHandles(), 0);
  const std::uint8_t report[8] = {2, 1, 0};
  std::uint32_t written = 99;
  EXPECT_FALSE(d->WriteReport(report, 8, written));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(d->LastWriteError(), EACCES);
  EXPECT_EQ(keyboard->WriteCount(), 0u);
  // Texts and caps still work without rights.
  EXPECT_EQ(d->ProductText(), u"Foot switch");
}

TEST_F(DeviceTest, WaitTimeAcceptsOnly10To10000) {
  bus.Plug(PedalDescription());
  Start();
  THidDevice* d = ctl->At(0);
  EXPECT_EQ(d->ReaderWaitTime(), 100u);
  d->SetReaderWaitTime(9);
  EXPECT_EQ(d->ReaderWaitTime(), 100u);
  d->SetReaderWaitTime(10001);
  EXPECT_EQ(d->ReaderWaitTime(), 100u);
  d->SetReaderWaitTime(10);
  EXPECT_EQ(d->ReaderWaitTime(), 10u);
  d->SetReaderWaitTime(10000);
  EXPECT_EQ(d->ReaderWaitTime(), 10000u);
}

TEST_F(DeviceTest, SerialTextAgainstTheLanguageList) {
  auto real = PedalDescription(u"SN-42");
  auto echo = PedalDescription(u"ignored");
  echo.serialAnswersLanguageList = true;
  auto noLanguages = PedalDescription(u"SN-77");
  noLanguages.languageListFails = true;
  auto twoLanguages = PedalDescription();
  twoLanguages.languages = {0x0409, 0x0407};
  twoLanguages.serialAnswersLanguageList = true;
  // Compared over the list's length only: a serial that starts like it counts as none.
  auto prefix = PedalDescription(std::u16string{char16_t(0x0409), u'X'});
  auto none = PedalDescription(u"");
  for (const auto& desc : {real, echo, noLanguages, twoLanguages, prefix, none}) bus.Plug(desc);
  Start();
  ASSERT_EQ(ctl->Count(), 6);
  std::vector<std::u16string> serials;
  for (std::int32_t i = 0; i < ctl->Count(); ++i) {
    THidDevice* d = CheckOut(i);
    ASSERT_NE(d, nullptr);
    serials.push_back(d->SerialText());
  }
  EXPECT_EQ(serials[0], u"SN-42");
  EXPECT_EQ(serials[1], u"");
  EXPECT_EQ(serials[2], u"SN-77");  // string 0 unreadable: the serial string as it is
  EXPECT_EQ(serials[3], u"");
  EXPECT_EQ(serials[4], u"");
  EXPECT_EQ(serials[5], u"");
}

TEST_F(DeviceTest, TextsAreKeptAndQueriedOnlyWithAccess) {
  auto desc = PedalDescription();
  desc.product = std::u16string(300, u'p');  // longer than the 254-unit buffer
  auto pedal = bus.Plug(desc);
  auto mute = PedalDescription();
  mute.stringsFail = true;
  bus.Plug(mute);
  Start();
  THidDevice* available = ctl->At(0);
  EXPECT_EQ(available->ProductText(), u"");  // neither checked out nor in an event
  EXPECT_EQ(pedal->OpenHandles(), 0);
  THidDevice* d = CheckOut(0);
  EXPECT_EQ(d->ProductText(), std::u16string(254, u'p'));
  EXPECT_EQ(d->SerialText(), u"VK0001");
  EXPECT_EQ(pedal->OpenMainHandles(), 0);  // queries close what they opened
  bus.Unplug(pedal);
  Pump();
  EXPECT_FALSE(d->Present());
  EXPECT_EQ(d->ProductText(), std::u16string(254, u'p'));  // kept
  EXPECT_EQ(d->SerialText(), u"VK0001");
  THidDevice* m = CheckOut(1);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->ProductText(), u"");
  EXPECT_EQ(m->SerialText(), u"");
}

TEST_F(DeviceTest, CapsAreFetchedOnceAndZeroWithoutAccess) {
  auto desc = PedalDescription();
  desc.inputLength = 9;
  desc.outputLength = 8;
  desc.usagePage = 0xFF00;
  bus.Plug(desc);
  auto other = PedalDescription();
  other.capsFail = true;
  bus.Plug(other);
  Start();
  platform::HIDP_CAPS caps;
  ctl->At(0)->ReadCaps(caps);
  EXPECT_EQ(caps.InputReportByteLength, 0);  // not allowed to open yet
  rec.onEnumerate = [](THidDevice* d, std::int32_t) {
    platform::HIDP_CAPS c;
    d->ReadCaps(c);
  };
  ctl->EnumerateDevices();
  caps = platform::HIDP_CAPS();
  ctl->At(0)->ReadCaps(caps);  // fetched during the event, kept since
  EXPECT_EQ(caps.InputReportByteLength, 9);
  EXPECT_EQ(caps.OutputReportByteLength, 8);
  EXPECT_EQ(caps.UsagePage, 0xFF00);
  THidDevice* d = CheckOut(1);
  caps.InputReportByteLength = 5;
  d->ReadCaps(caps);
  EXPECT_EQ(caps.InputReportByteLength, 0);  // no report description: zeros
}

TEST_F(DeviceTest, WriteKeepsTheHandleAndATextQueryClosesIt) {
  auto pedal = bus.Plug(PedalDescription());
  Start();
  THidDevice* available = ctl->At(0);
  const std::uint8_t report[8] = {2, 2, 0, 1, 4, 0, 0, 0};
  std::uint32_t written = 77;
  EXPECT_FALSE(available->WriteReport(report, 8, written));
  EXPECT_EQ(written, 77u);  // untouched when the device may not be opened
  THidDevice* d = CheckOut(0);
  ASSERT_TRUE(d->WriteReport(report, 8, written));
  EXPECT_EQ(written, 8u);
  EXPECT_EQ(pedal->OpenMainHandles(), 1);
  EXPECT_EQ(d->SerialText(), u"VK0001");
  EXPECT_EQ(pedal->OpenMainHandles(), 0);
  ASSERT_TRUE(d->WriteReport(report, 8, written));
  EXPECT_EQ(pedal->OpenMainHandles(), 1);
  EXPECT_EQ(pedal->WriteCount(), 2u);
  EXPECT_EQ(pedal->Writes()[1], std::vector<std::uint8_t>(report, report + 8));
  EXPECT_EQ(d->LastWriteError(), 0);
}

TEST_F(DeviceTest, FailedWritesAreReportedWithTheirReason) {
  auto pedal = bus.Plug(PedalDescription());
  Start();
  THidDevice* d = CheckOut(0);
  pedal->SetWriteFailure({2, false, EPIPE});
  const std::uint8_t report[8] = {2, 1, 0};
  std::uint32_t written = 0;
  EXPECT_TRUE(d->WriteReport(report, 8, written));
  EXPECT_FALSE(d->WriteReport(report, 8, written));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(d->LastWriteError(), EPIPE);
  EXPECT_TRUE(d->WriteReport(report, 8, written));
  EXPECT_EQ(d->LastWriteError(), 0);
  bus.Unplug(pedal);
  EXPECT_FALSE(d->WriteReport(report, 8, written));  // gone, not yet rescanned
  EXPECT_EQ(d->LastWriteError(), ENODEV);
  Pump();
  EXPECT_FALSE(d->WriteReport(report, 8, written));
  EXPECT_EQ(d->LastWriteError(), ENODEV);
  EXPECT_EQ(pedal->WriteCount(), 2u);
}

TEST_F(DeviceTest, DestroyingACheckedOutDeviceLeavesAFreshOneInItsPlace) {
  bus.Plug(PedalDescription(u"A"));
  auto pedal = bus.Plug(PedalDescription(u"B"));
  bus.Plug(PedalDescription(u"C"));
  Start();
  rec.Take();
  ctl->SetOnDeviceDataError(MakeHandler(&rec, &Recorder::DataError));
  THidDevice* d = CheckOut(1);
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(d->DataErrorHandler());  // reached it through the controller's setter
  d->SetDataHandler(MakeHandler(&rec, &Recorder::OtherData));
  d->SetUnplugHandler(MakeHandler(&rec, &Recorder::OtherUnplug));
  d->SetReaderWaitTime(250);
  ASSERT_TRUE(ReaderReady(pedal));
  Destroy(d);
  ASSERT_EQ(ctl->Count(), 3);
  THidDevice* fresh = ctl->At(1);
  EXPECT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->PnPInfo().DeviceInstance, pedal->Instance());
  EXPECT_FALSE(fresh->CheckedOut());
  EXPECT_TRUE(fresh->Present());
  EXPECT_FALSE(fresh->ReaderRunning());
  EXPECT_EQ(fresh->DataHandler(), MakeHandler(&rec, &Recorder::OtherData));
  EXPECT_EQ(fresh->UnplugHandler(), MakeHandler(&rec, &Recorder::OtherUnplug));
  EXPECT_EQ(fresh->ReaderWaitTime(), 250u);
  EXPECT_FALSE(fresh->DataErrorHandler());
  EXPECT_EQ(pedal->OpenHandles(), 0);
  // It can be checked out again and reads with the handler it kept.
  THidDevice* again = CheckOut(1);
  ASSERT_EQ(again, fresh);
  ASSERT_TRUE(ReaderReady(pedal));
  pedal->InjectInput({2, 0x81, 0, 0, 0, 0, 0, 0});
  EXPECT_TRUE(ServeUntil([&] { return rec.log == std::vector<std::string>{"other data"}; }));
}

TEST_F(DeviceTest, DestroyingADeviceThatNoLongerOpensRemovesItsEntry) {
  auto pedal = bus.Plug(PedalDescription());
  bus.Plug(PedalDescription(u"other"));
  Start();
  THidDevice* d = CheckOut(0);
  bus.Unplug(pedal);  // gone, but no rescan has noticed yet
  Destroy(d);
  ASSERT_EQ(ctl->Count(), 1);
  EXPECT_NE(ctl->At(0)->PnPInfo().DeviceInstance, pedal->Instance());
}

TEST_F(DeviceTest, DestroyingAfterTheControllerIsGone) {
  auto pedal = bus.Plug(PedalDescription());
  Start();
  rec.Take();
  THidDevice* d = CheckOut(0);
  ASSERT_TRUE(ReaderReady(pedal));
  ctl.reset();
  EXPECT_EQ(d->Controller(), nullptr);
  EXPECT_FALSE(d->Present());
  EXPECT_TRUE(rec.log.empty());  // the controller's own unplug handler was cleared first
  EXPECT_EQ(bus.LoadCount(), 0);
  Destroy(d);
  EXPECT_EQ(pedal->OpenHandles(), 0);
}

}  // namespace
}  // namespace hid::test
