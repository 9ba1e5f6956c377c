// Fixture of the stress tests: the device-layer test fixture plus a watchdog,
// resource baselines and helpers to find a virtual device's object.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "hid/tests/HidTestSupport.h"
#include "stress/StressSupport.h"

namespace stress {

using hid::THidDevice;
using hid::platform::virt::VirtualDevice;
using namespace std::chrono_literals;

class StormFixture : public hid::test::HidFixture {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    watchdog_ = std::make_unique<Watchdog>(std::string(info->test_suite_name()) + "." + info->name(), 240s);
    threads0_ = ThreadCount();
    fds0_ = FdCount();
  }
  void TearDown() override {
    HidFixture::TearDown();
    watchdog_.reset();
  }

  // Index of the listed device that stands for `dev`, or -1.
  std::int32_t IndexOf(const std::shared_ptr<VirtualDevice>& dev) const {
    for (std::int32_t i = 0; i < ctl->Count(); ++i) {
      THidDevice* d = ctl->At(i);
      if (d->Present() && d->PnPInfo().DeviceInstance == dev->Instance()) return i;
    }
    return -1;
  }

  // Plugs a pedal as the only listed device, checks it out and waits until
  // its reader has a read outstanding.
  void PlugReadingPedal(std::shared_ptr<VirtualDevice>& pedal, THidDevice*& device) {
    pedal = bus.Plug(hid::test::PedalDescription());
    Pump();
    device = CheckOut(0);
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(ReaderReady(pedal));
  }

  // Everything given back, all readers joined: the counts return to where the
  // test started. Exited threads may take a moment to leave /proc.
  void ExpectNoThreadOrFdLeft() {
    const auto end = std::chrono::steady_clock::now() + 5s;
    while ((ThreadCount() != threads0_ || FdCount() != fds0_) && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(1ms);
    EXPECT_EQ(ThreadCount(), threads0_) << "threads left";
    EXPECT_EQ(FdCount(), fds0_) << "file descriptors left";
  }

  // An 8-byte input report: report id 2, a marker, a 24-bit sequence number
  // and the low 24 bits of the device instance.
  static std::vector<std::uint8_t> SequencedReport(std::uint8_t marker, std::uint32_t seq, std::uint32_t instance) {
    return {0x02,
            marker,
            static_cast<std::uint8_t>(seq),
            static_cast<std::uint8_t>(seq >> 8),
            static_cast<std::uint8_t>(seq >> 16),
            static_cast<std::uint8_t>(instance),
            static_cast<std::uint8_t>(instance >> 8),
            static_cast<std::uint8_t>(instance >> 16)};
  }
  static std::uint32_t SeqOf(const std::vector<std::uint8_t>& data) {
    return data[1] | (std::uint32_t{data[2]} << 8) | (std::uint32_t{data[3]} << 16);
  }
  static std::uint32_t InstanceOf(const std::vector<std::uint8_t>& data) {
    return data[4] | (std::uint32_t{data[5]} << 8) | (std::uint32_t{data[6]} << 16);
  }

  static constexpr std::uint8_t kStreamMarker = 0x01;
  static constexpr std::uint8_t kAnswerMarker = 0x81;

  int threads0_ = 0;
  int fds0_ = 0;

 private:
  std::unique_ptr<Watchdog> watchdog_;
};

}  // namespace stress
