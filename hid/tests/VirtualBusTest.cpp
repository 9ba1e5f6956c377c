#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

#include "hid/platform/virtual/VirtualBus.h"

namespace hid::platform::virt {
namespace {

VirtualDeviceDescription Description() {
  VirtualDeviceDescription s;
  s.vendorId = 0x16C0;
  s.productId = 0x05E1;
  s.inputLength = 8;
  s.outputLength = 8;
  return s;
}

TEST(VirtualBus, CallbackMonitorNotifiesOncePerPlugAndUnplugUntilItIsGone) {
  VirtualBus bus;
  bus.SetMonitorDelivery(MonitorDelivery::Callback);
  EXPECT_EQ(bus.CreateMonitor(), nullptr);  // not loaded
  ASSERT_TRUE(bus.Load());
  auto monitor = bus.CreateMonitor();
  ASSERT_NE(monitor, nullptr);
  EXPECT_EQ(monitor->fd(), -1);
  int calls = 0;
  monitor->SetNotify([&calls] { ++calls; });
  auto d = bus.Plug(Description());
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(monitor->Drain());  // the callback had it
  bus.Unplug(d);
  EXPECT_EQ(calls, 2);
  monitor.reset();
  bus.Plug(Description());
  EXPECT_EQ(calls, 2);
  bus.Release();
  EXPECT_FALSE(bus.IsLoaded());
  EXPECT_EQ(bus.GetPresentInterfaces(), nullptr);
}

TEST(VirtualBus, OpensFollowTheAccessMode) {
  VirtualBus bus;
  auto s = Description();
  s.access = Access::ReadWriteRefused;
  auto d = bus.Plug(s);
  int error = 0;
  EXPECT_EQ(bus.Open(d->Path(), true, &error), nullptr);
  EXPECT_EQ(error, EACCES);
  auto h = bus.Open(d->Path(), false, &error);
  ASSERT_NE(h, nullptr);
  std::uint32_t written = 5;
  const std::uint8_t report[8] = {};
  EXPECT_FALSE(h->Write(report, 8, &written));
  EXPECT_EQ(h->LastError(), EACCES);
  EXPECT_FALSE(h->ErrorText().empty());
  EXPECT_EQ(bus.OpenRead(d->Path(), &error), nullptr);
  EXPECT_EQ(bus.Open("/dev/none", false, &error), nullptr);
  EXPECT_EQ(error, ENOENT);
  EXPECT_EQ(d->OpenHandles(), 1);
  h.reset();
  EXPECT_EQ(d->OpenHandles(), 0);
}

TEST(VirtualBus, OneReportPerReadCutToTheReadLength) {
  VirtualBus bus;
  auto d = bus.Plug(Description());
  auto r = bus.OpenRead(d->Path());
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(d->InjectInput({1, 2, 3, 4, 5}), 1u);
  EXPECT_EQ(d->InjectInput({6, 7}), 1u);
  std::uint8_t buffer[3] = {};
  std::uint32_t count = 0;
  ASSERT_TRUE(r->StartRead(buffer, 3));
  EXPECT_EQ(r->Wait(0), WaitResult::IoCompletion);
  ASSERT_TRUE(r->GetResult(&count));
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(buffer[2], 3);
  ASSERT_TRUE(r->StartRead(buffer, 3));
  EXPECT_EQ(r->Wait(0), WaitResult::IoCompletion);
  ASSERT_TRUE(r->GetResult(&count));
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(buffer[0], 6);
  ASSERT_TRUE(r->StartRead(buffer, 3));
  EXPECT_EQ(r->Wait(1), WaitResult::Timeout);
  r->Interrupt();
  EXPECT_EQ(r->Wait(10000), WaitResult::Interrupted);
  EXPECT_TRUE(r->Cancel());
  EXPECT_EQ(d->CancelledReads(), 1u);
}

TEST(VirtualBus, UnplugAndCloseCompleteAnOutstandingReadWithoutData) {
  VirtualBus bus;
  auto d = bus.Plug(Description());
  auto r = bus.OpenRead(d->Path());
  std::uint8_t buffer[8];
  ASSERT_TRUE(r->StartRead(buffer, 8));
  std::thread unplug([&] {
    while (d->OutstandingReads() == 0) std::this_thread::yield();
    bus.Unplug(d);
  });
  EXPECT_EQ(r->Wait(60000), WaitResult::IoCompletion);
  unplug.join();
  std::uint32_t count = 9;
  EXPECT_FALSE(r->GetResult(&count));
  EXPECT_EQ(count, 0u);
  EXPECT_FALSE(r->StartRead(buffer, 8));
  EXPECT_EQ(r->LastError(), ENODEV);
  EXPECT_EQ(bus.OpenRead(d->Path()), nullptr);
  EXPECT_EQ(d->InjectInput({1}), 0u);

  auto e = bus.Plug(Description());
  auto r2 = bus.OpenRead(e->Path());
  ASSERT_TRUE(r2->StartRead(buffer, 8));
  r2->Close();
  r2->Close();
  EXPECT_EQ(r2->Wait(60000), WaitResult::IoCompletion);
  EXPECT_FALSE(r2->GetResult(&count));
  EXPECT_EQ(e->OpenReadHandles(), 0);
}

TEST(VirtualBus, WritesAreRecordedAnsweredAndFailedOnDemand) {
  VirtualBus bus;
  auto d = bus.Plug(Description());
  auto r = bus.OpenRead(d->Path());
  // A device model answering each write through the hook.
  d->SetWriteHook([dev = d.get()](const std::uint8_t* data, std::size_t n) {
    std::vector<std::uint8_t> answer(data, data + n);
    answer[1] |= 0x80;
    dev->InjectInput(answer);
  });
  auto h = bus.Open(d->Path(), true);
  const std::uint8_t report[8] = {2, 1, 0, 0, 0, 0, 0, 0};
  std::uint32_t written = 0;
  ASSERT_TRUE(h->Write(report, 8, &written));
  EXPECT_EQ(written, 8u);
  std::uint8_t buffer[8] = {};
  std::uint32_t count = 0;
  ASSERT_TRUE(r->StartRead(buffer, 8));
  ASSERT_EQ(r->Wait(0), WaitResult::IoCompletion);
  ASSERT_TRUE(r->GetResult(&count));
  EXPECT_EQ(buffer[1], 0x81);
  d->SetWriteFailure({0, true, EIO});
  EXPECT_FALSE(h->Write(report, 8, &written));
  EXPECT_EQ(h->LastError(), EIO);
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(d->WriteCount(), 1u);
}

}  // namespace
}  // namespace hid::platform::virt
