// WM_DEVICECHANGE to the monitor's window: one notification for each that
// says devices changed or that a HID interface arrived or left; delivered by
// any message loop, or by Drain for hosts without one.
#include <cerrno>

#include "hid/platform/windows/DeviceChangeWindow.h"
#include "hid/platform/windows/HidDeviceHandle.h"
#include "hid/platform/windows/OverlappedReadHandle.h"
#include "hid/platform/windows/tests/FakeBusFixture.h"
#include "hid/platform/windows/tests/fake/HidClassGuid.h"
// After windows.h:
#include <dbt.h>

namespace hid::platform::windows::test {
namespace {

class DeviceChangeWindowTest : public FakeBusTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(backend.Load());
    monitor = backend.CreateMonitor();
    ASSERT_NE(monitor, nullptr) << backend.ErrorText();
    window = static_cast<DeviceChangeWindow&>(*monitor).Window();
    monitor->SetNotify([this] { ++notifications; });
  }
  void TearDown() override {
    monitor.reset();
    backend.Release();
    FakeBusTest::TearDown();
  }

  std::unique_ptr<Monitor> monitor;
  HWND window = nullptr;
  int notifications = 0;
};

TEST_F(DeviceChangeWindowTest, OneNotificationPerChangeArrivalOrRemoval) {
  EXPECT_EQ(monitor->fd(), -1);
  EXPECT_TRUE(static_cast<DeviceChangeWindow&>(*monitor).Registered());
  DEV_BROADCAST_DEVICEINTERFACE_W arrived{};
  arrived.dbcc_size = sizeof arrived;
  arrived.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  arrived.dbcc_classguid = fakehid::kHidClassGuid;
  const auto hdr = reinterpret_cast<LPARAM>(&arrived);
  EXPECT_EQ(SendMessageW(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0), TRUE);
  EXPECT_EQ(notifications, 1);
  SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, hdr);
  SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, hdr);
  EXPECT_EQ(notifications, 3);
  // Questions and other news change nothing, and removal is not refused.
  EXPECT_EQ(SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE, hdr), TRUE);
  SendMessageW(window, WM_DEVICECHANGE, DBT_CONFIGCHANGED, 0);
  SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVEPENDING, hdr);
  EXPECT_EQ(notifications, 3);
  // Logging off or shutting down may go ahead.
  EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, 0), 1);
}

// Every top-level window hears of volumes, ports and other interface
// classes coming and going; none of them is a HID change.
TEST_F(DeviceChangeWindowTest, ArrivalsAndRemovalsOfAnythingButHidInterfacesAreNoNews) {
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  DEV_BROADCAST_PORT_W port{};
  port.dbcp_size = sizeof port;
  port.dbcp_devicetype = DBT_DEVTYP_PORT;
  DEV_BROADCAST_DEVICEINTERFACE_W otherClass{};
  otherClass.dbcc_size = sizeof otherClass;
  otherClass.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  otherClass.dbcc_classguid = {0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
  DEV_BROADCAST_HANDLE handle{};
  handle.dbch_size = sizeof handle;
  handle.dbch_devicetype = DBT_DEVTYP_HANDLE;
  for (const LPARAM data : {reinterpret_cast<LPARAM>(&volume), reinterpret_cast<LPARAM>(&port),
                            reinterpret_cast<LPARAM>(&otherClass), reinterpret_cast<LPARAM>(&handle), LPARAM{0}}) {
    SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, data);
    SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, data);
  }
  EXPECT_EQ(notifications, 0);
}

TEST_F(DeviceChangeWindowTest, PostedAndBroadcastChangesWaitForTheLoopOrDrain) {
  PostMessageW(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
  PostMessageW(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
  EXPECT_EQ(notifications, 0);
  EXPECT_FALSE(monitor->Drain());  // the callback had them
  EXPECT_EQ(notifications, 2);
  // As the system announces a change: to every top-level window.
  PostMessageW(HWND_BROADCAST, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
  EXPECT_TRUE(WaitFor([&] {
    monitor->Drain();
    return notifications >= 3;
  }));
}

// A request to remove the pedal (or word that it is going) closes the
// handles held open on it, which would make the request fail, and grants it.
// A handle without access rights blocks nothing and is left alone.
TEST_F(DeviceChangeWindowTest, ARemovalRequestClosesTheHandlesHeldOnThePedal) {
  const PluggedDevice pedal = Plug(PedalDevice());
  const std::uint8_t request[8] = {0x02, 0x01, 0x00};
  std::uint8_t buffer[8] = {};
  std::uint32_t written = 0;
  HIDD_ATTRIBUTES attributes;
  for (const WPARAM event : {DBT_DEVICEQUERYREMOVE, DBT_DEVICEREMOVEPENDING, DBT_DEVICEREMOVECOMPLETE}) {
    SCOPED_TRACE(event);
    auto write = backend.Open(pedal.path, true);
    auto read = backend.OpenRead(pedal.path);
    auto info = backend.Open(pedal.path, false);
    ASSERT_TRUE(write && read && info);
    ASSERT_TRUE(write->Write(request, sizeof request, &written));
    for (HANDLE file : {static_cast<HidDeviceHandle&>(*write).File(), static_cast<OverlappedReadHandle&>(*read).File(),
                        static_cast<HidDeviceHandle&>(*info).File()}) {
      DEV_BROADCAST_HANDLE going{};
      going.dbch_size = sizeof going;
      going.dbch_devicetype = DBT_DEVTYP_HANDLE;
      going.dbch_handle = file;
      EXPECT_EQ(SendMessageW(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&going)), TRUE);
    }
    EXPECT_FALSE(write->Write(request, sizeof request, &written));
    EXPECT_EQ(write->LastError(), ENODEV);
    EXPECT_FALSE(read->StartRead(buffer, sizeof buffer));
    EXPECT_EQ(read->LastError(), ENODEV);
    EXPECT_TRUE(info->GetAttributes(attributes));
  }
  EXPECT_EQ(notifications, 0);  // a handle's news is no rescan
}

TEST_F(DeviceChangeWindowTest, TheWindowGoesWithTheMonitor) {
  ASSERT_TRUE(IsWindow(window));
  monitor.reset();
  EXPECT_FALSE(IsWindow(window));
  // A second monitor in the same thread works alike.
  auto again = backend.CreateMonitor();
  ASSERT_NE(again, nullptr);
  int calls = 0;
  again->SetNotify([&calls] { ++calls; });
  SendMessageW(static_cast<DeviceChangeWindow&>(*again).Window(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace hid::platform::windows::test
