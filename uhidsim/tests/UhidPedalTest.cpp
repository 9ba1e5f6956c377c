// The uhid pedal against a socket that stands in for /dev/uhid: the events
// it sends and how it answers the kernel's events.
#include <gtest/gtest.h>
#include <linux/uhid.h>
#include <poll.h>
#include <sys/socket.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "hid/platform/descriptor/ReportDescriptor.h"
#include "hid/platform/descriptor/tests/KnownDescriptors.h"
#include "uhidsim/UhidPedal.h"

namespace uhidsim {
namespace {

class UhidPedalTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds_), 0); }
  void TearDown() override {
    for (int fd : fds_) {
      if (fd >= 0) ::close(fd);
    }
  }

  // Reads the next event the pedal sent; false when none is waiting.
  bool Next(uhid_event& ev) {
    pollfd p{fds_[1], POLLIN, 0};
    if (::poll(&p, 1, 0) != 1) return false;
    ev = uhid_event{};
    return ::read(fds_[1], &ev, sizeof ev) == static_cast<ssize_t>(sizeof ev);
  }

  // Sends a kernel event to the pedal and lets it handle it.
  void Kernel(const uhid_event& ev, UhidPedal& pedal) {
    ASSERT_EQ(::write(fds_[1], &ev, sizeof ev), static_cast<ssize_t>(sizeof ev));
    ASSERT_TRUE(pedal.HandleEvent());
  }

  static uhid_event Output(std::vector<std::uint8_t> bytes) {
    uhid_event ev{};
    ev.type = UHID_OUTPUT;
    ev.u.output.size = static_cast<std::uint16_t>(bytes.size());
    ev.u.output.rtype = UHID_OUTPUT_REPORT;
    std::memcpy(ev.u.output.data, bytes.data(), bytes.size());
    return ev;
  }

  int fds_[2] = {-1, -1};
};

TEST_F(UhidPedalTest, CreatesAUsbPedalWithTheConfigurationDescriptor) {
  UhidPedal pedal(fds_[0], {.serial = "VK0042", .product = "Test pedal"});
  ASSERT_TRUE(pedal.Create());
  uhid_event ev;
  ASSERT_TRUE(Next(ev));
  EXPECT_EQ(ev.type, UHID_CREATE2);
  EXPECT_EQ(ev.u.create2.bus, 0x03);
  EXPECT_EQ(ev.u.create2.vendor, 0x16C0u);
  EXPECT_EQ(ev.u.create2.product, 0x05E1u);
  EXPECT_STREQ(reinterpret_cast<const char*>(ev.u.create2.name), "Test pedal");
  EXPECT_STREQ(reinterpret_cast<const char*>(ev.u.create2.uniq), "VK0042");
  const std::vector<std::uint8_t> rd(ev.u.create2.rd_data, ev.u.create2.rd_data + ev.u.create2.rd_size);
  EXPECT_EQ(rd, hid::platform::descriptor::known::kPedal);
  const auto parsed = hid::platform::descriptor::ParseReportDescriptor(rd);
  ASSERT_EQ(parsed.collections.size(), 1u);
  EXPECT_EQ(parsed.collections[0].inputReportByteLength, 8);
  EXPECT_EQ(parsed.collections[0].outputReportByteLength, 8);
  EXPECT_FALSE(Next(ev));

  ASSERT_TRUE(pedal.Destroy());
  ASSERT_TRUE(Next(ev));
  EXPECT_EQ(ev.type, UHID_DESTROY);
  ASSERT_TRUE(pedal.Destroy());
  EXPECT_FALSE(Next(ev)) << "destroyed twice";
}

TEST_F(UhidPedalTest, AnswersReadRequestsAndStoresWrites) {
  UhidPedal pedal(fds_[0], {});
  std::vector<std::vector<std::uint8_t>> logged;
  pedal.SetReportLog([&](const std::vector<std::uint8_t>& report, const auto& answers, bool refused) {
    logged.push_back(report);
    EXPECT_FALSE(refused);
    EXPECT_LE(answers.size(), 1u);
  });
  ASSERT_TRUE(pedal.Create());
  uhid_event ev;
  ASSERT_TRUE(Next(ev));

  Kernel(Output({0x02, 0x01, 0x01, 0, 0, 0, 0, 0}), pedal);
  ASSERT_TRUE(Next(ev));
  EXPECT_EQ(ev.type, UHID_INPUT2);
  ASSERT_EQ(ev.u.input2.size, 8);
  EXPECT_EQ(std::vector<std::uint8_t>(ev.u.input2.data, ev.u.input2.data + 8),
            (std::vector<std::uint8_t>{0x02, 0x81, 0x01, 0x01, 0x19, 0, 0, 0}));

  Kernel(Output({0x02, 0x02, 0x00, 0x03, 0x04, 0, 0, 0}), pedal);
  EXPECT_FALSE(Next(ev)) << "a write report is not answered";
  EXPECT_EQ(pedal.Firmware().GetSlot(0), (sim::PedalFirmware::Slot{0x03, 0x04, 0, 0}));
  EXPECT_EQ(logged.size(), 2u);
}

TEST_F(UhidPedalTest, OutputsOfAnotherLengthAreIgnored) {
  UhidPedal pedal(fds_[0], {});
  int refusedCount = 0;
  pedal.SetReportLog([&](const auto&, const auto& answers, bool refused) {
    refusedCount += refused ? 1 : 0;
    EXPECT_TRUE(answers.empty());
  });
  uhid_event ev;
  Kernel(Output({0x02, 0x01, 0x00, 0, 0, 0, 0}), pedal);                   // 7 bytes
  Kernel(Output({0x02, 0x02, 0x00, 0x01, 0x04, 0, 0, 0, 0}), pedal);       // 9 bytes
  uhid_event huge = Output({0x02, 0x01, 0x00, 0, 0, 0, 0, 0});
  huge.u.output.size = 0xFFFF;  // more than the event holds
  Kernel(huge, pedal);
  EXPECT_FALSE(Next(ev));
  EXPECT_EQ(refusedCount, 3);
  EXPECT_EQ(pedal.Firmware().WriteCount(), 0u);
}

TEST_F(UhidPedalTest, LifecycleEventsAreSkippedAndRequestsRefused) {
  UhidPedal pedal(fds_[0], {});
  uhid_event ev{};
  for (auto type : {UHID_START, UHID_OPEN, UHID_CLOSE, UHID_STOP}) {
    ev = uhid_event{};
    ev.type = type;
    Kernel(ev, pedal);
  }
  EXPECT_FALSE(Next(ev));

  uhid_event get{};
  get.type = UHID_GET_REPORT;
  get.u.get_report.id = 77;
  Kernel(get, pedal);
  ASSERT_TRUE(Next(ev));
  EXPECT_EQ(ev.type, UHID_GET_REPORT_REPLY);
  EXPECT_EQ(ev.u.get_report_reply.id, 77u);
  EXPECT_NE(ev.u.get_report_reply.err, 0);

  uhid_event set{};
  set.type = UHID_SET_REPORT;
  set.u.set_report.id = 78;
  Kernel(set, pedal);
  ASSERT_TRUE(Next(ev));
  EXPECT_EQ(ev.type, UHID_SET_REPORT_REPLY);
  EXPECT_EQ(ev.u.set_report_reply.id, 78u);
}

TEST_F(UhidPedalTest, ClosedDeviceEndsTheLoop) {
  ::signal(SIGPIPE, SIG_IGN);  // the write to the closed peer must fail, not kill
  UhidPedal pedal(fds_[0], {});
  ::close(fds_[1]);
  fds_[1] = -1;
  EXPECT_FALSE(pedal.HandleEvent());
  EXPECT_FALSE(pedal.Create());
}

}  // namespace
}  // namespace uhidsim
