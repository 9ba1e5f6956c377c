// The fakes as another process meets them: the end-to-end test starts the
// program as a child of the process that owns the testbed.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "hid/platform/linux/tests/BackendTestbed.h"

namespace hid::platform::linux_::fakes {
namespace {

using FakeTestbed = BackendTestbed;

std::string SelfPath() {
  char self[4096] = {};
  if (::readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return {};
  return self;
}

TEST_F(FakeTestbed, ChildProcessWritesReachTheFakePedal) {
  auto& node = bed.Plug(FakePedal::Description());
  FakePedal pedal(node);
  // The child inherits the preload library and the testbed from this
  // process. It must open the node by path itself: a node reached through
  // dup() (a shell redirection) is not seen by umockdev.
  const std::string command = SelfPath() + " --child-write /dev/hidraw0 0202010405000000";
  ASSERT_EQ(std::system(command.c_str()), 0);
  ASSERT_TRUE(node.WaitForWritten(1, std::chrono::seconds(30)));
  EXPECT_EQ(node.Written()[0], (std::vector<std::uint8_t>{0x02, 0x02, 0x01, 0x04, 0x05, 0x00, 0x00, 0x00}));
  EXPECT_EQ(pedal.firmware().GetSlot(1), (sim::PedalFirmware::Slot{0x04, 0x05, 0x00, 0x00}));
}

TEST_F(FakeTestbed, ChildProcessMonitorSeesThePlug) {
  FILE* child = ::popen((SelfPath() + " --child-monitor").c_str(), "r");
  ASSERT_NE(child, nullptr);
  char line[16] = {};
  const bool ready = std::fgets(line, sizeof line, child) != nullptr && std::string(line) == "ready\n";
  if (ready) bed.Plug(FakePedal::Description());
  const int status = ::pclose(child);
  ASSERT_TRUE(ready);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(FakeTestbed, PedalIgnoresReportsItDoesNotKnow) {
  auto& node = bed.Plug(FakePedal::Description());
  FakePedal pedal(node);
  auto main = backend.Open("/dev/hidraw0", true);
  auto reader = backend.OpenRead("/dev/hidraw0");
  ASSERT_NE(main, nullptr);
  ASSERT_NE(reader, nullptr);
  std::uint32_t written = 0;
  const std::uint8_t pedal3[8] = {0x02, 0x01, 0x03};      // no such pedal
  const std::uint8_t otherId[8] = {0x05, 0x01, 0x00};     // not the pedal's report id
  const std::uint8_t pedal0[8] = {0x02, 0x01, 0x00};
  ASSERT_TRUE(main->Write(pedal3, 8, &written));
  ASSERT_TRUE(main->Write(otherId, 8, &written));
  ASSERT_TRUE(main->Write(pedal0, 8, &written));
  std::uint8_t buffer[8] = {};
  ASSERT_TRUE(reader->StartRead(buffer, 8));
  ASSERT_EQ(reader->Wait(30000), WaitResult::IoCompletion);
  EXPECT_EQ(buffer[2], 0x00) << "the first answer is pedal 0's";
  EXPECT_EQ(reader->Wait(0), WaitResult::IoCompletion);
  ASSERT_TRUE(reader->StartRead(buffer, 8));
  EXPECT_EQ(reader->Wait(50), WaitResult::Timeout) << "nothing else was answered";
  EXPECT_EQ(node.Written().size(), 3u);
}

}  // namespace
}  // namespace hid::platform::linux_::fakes
