// varnok-pedal.exe under wine against fake pedals on a umockdev testbed,
// through wine's own setupapi, hid, hidclass and winebus (its udev bus reads
// the fake hidraw nodes). No DLL of ours is on that path.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>

#include "WineStack.h"

namespace wine_hidstack {
namespace {

using namespace std::chrono_literals;

using WineHidStackTest = WineStackTest;

TEST_F(WineHidStackTest, ListShowsThePedalWithItsSerialProductAndFirmware) {
  sim::PedalFirmware& firmware = Firmware("PEDAL0001", "Varnok foot switch");
  PlugPedal(firmware);
  RunResult list;
  ASSERT_TRUE(WaitForPedals(1, &list)) << Shown(list);
  EXPECT_TRUE(Contains(list.out, "serial PEDAL0001")) << Shown(list);
  // Wine takes the product from HID_NAME, which the kernel makes of the
  // manufacturer and product strings.
  EXPECT_TRUE(Contains(list.out, "product \"Varnok Varnok foot switch\"")) << Shown(list);
  EXPECT_TRUE(Contains(list.out, "firmware V1.0.0")) << Shown(list);
  EXPECT_TRUE(Contains(list.out, "access read-write")) << Shown(list);
}

TEST_F(WineHidStackTest, ReadWriteVerifyAndExport) {
  sim::PedalFirmware& firmware = Firmware("PEDAL0002");
  FakeHidDevice& device = PlugPedal(firmware);
  ASSERT_TRUE(WaitForPedals(1));

  const RunResult read = Pedal({"read"});
  EXPECT_EQ(read.exitCode, 0) << Shown(read);
  EXPECT_EQ(read.out, "pedal 1: Ctrl+C (01-06-00-00)\npedal 2: Ctrl+V (01-19-00-00)\npedal 3: Enter (00-28-00-00)\n")
      << Shown(read);

  const std::size_t before = device.Written().size();
  const RunResult write = Pedal({"write", "--pedal", "1", "Ctrl+A", "--verify"});
  EXPECT_EQ(write.exitCode, 0) << Shown(write);
  EXPECT_TRUE(Contains(write.out, "done\nverified\n")) << Shown(write);
  const auto written = device.Written();
  ASSERT_GT(written.size(), before);
  EXPECT_EQ(written[before], (FakeHidDevice::Report{0x02, 0x02, 0x00, 0x01, 0x04, 0x00, 0x00, 0x00}));
  EXPECT_EQ(firmware.GetSlot(0), (sim::PedalFirmware::Slot{0x01, 0x04, 0x00, 0x00}));

  const RunResult exported = Pedal({"export", "--count", "2"});
  EXPECT_EQ(exported.exitCode, 0) << Shown(exported);
  EXPECT_TRUE(Contains(exported.out, "\"keys\":\"Ctrl+A\",\"bytes\":\"01-04-00-00\"")) << Shown(exported);
  EXPECT_TRUE(Contains(exported.out, "\"keys\":\"Ctrl+V\"")) << Shown(exported);
}

TEST_F(WineHidStackTest, TwoPedalsAreChosenBySerialAndAKeyboardIsLeftAlone) {
  sim::PedalFirmware& first = Firmware("PEDALA");
  sim::PedalFirmware& second = Firmware("PEDALB");
  FakeHidDevice& keyboard = PlugKeyboard();
  PlugPedal(first);
  PlugPedal(second);
  RunResult list;
  ASSERT_TRUE(WaitForPedals(2, &list)) << Shown(list);
  EXPECT_TRUE(Contains(list.out, "serial PEDALA") && Contains(list.out, "serial PEDALB")) << Shown(list);

  const RunResult unchosen = Pedal({"read"});
  EXPECT_EQ(unchosen.exitCode, 3) << Shown(unchosen);

  const RunResult write = Pedal({"write", "--serial", "PEDALB", "--pedal", "3", "Shift+F5"});
  EXPECT_EQ(write.exitCode, 0) << Shown(write);
  EXPECT_EQ(second.GetSlot(2), (sim::PedalFirmware::Slot{0x02, 0x3E, 0x00, 0x00}));
  EXPECT_EQ(first.GetSlot(2), sim::PedalFirmware::DefaultSlot(2));
  EXPECT_EQ(first.WriteCount(), 0u);
  EXPECT_TRUE(keyboard.Written().empty()) << "the keyboard was written to";
}

TEST_F(WineHidStackTest, UnplugAndReplug) {
  sim::PedalFirmware& firmware = Firmware("PEDAL0003");
  FakeHidDevice& device = PlugPedal(firmware);
  ASSERT_TRUE(WaitForPedals(1));
  Unplug(device);
  RunResult gone;
  ASSERT_TRUE(WaitForList([](const RunResult& r) { return r.exitCode == 2; }, &gone)) << Shown(gone);
  EXPECT_TRUE(Contains(gone.err, "no pedal found")) << Shown(gone);

  PlugPedal(firmware);
  ASSERT_TRUE(WaitForPedals(1));
  const RunResult read = Pedal({"read", "--count", "1"});
  EXPECT_EQ(read.exitCode, 0) << Shown(read);
  EXPECT_EQ(read.out, "pedal 1: Ctrl+C (01-06-00-00)\n") << Shown(read);
}

// A write-in that loses the pedal after its first report: "done" (exit 0)
// only when every report reached the pedal.
TEST_F(WineHidStackTest, UnplugDuringAWriteIsNeverReportedDone) {
  sim::PedalFirmware& firmware = Firmware("PEDAL0004");
  FakeHidDevice& device = PlugPedal(firmware);
  ASSERT_TRUE(WaitForPedals(1));
  const std::string profile = WineStack::instance->workDir() + "/profile.json";
  {
    std::ofstream out(profile);
    out << R"({"pedals":[{"pedal":1,"keys":"Ctrl+A"},{"pedal":2,"keys":"Ctrl+B"},{"pedal":3,"keys":"Ctrl+D"}]})";
  }
  const std::size_t before = device.Written().size();
  std::thread unplugger([&] {
    if (device.WaitForWritten(before + 1, 120s)) WineStack::instance->bed().Unplug(device);
  });
  const RunResult write = Pedal({"write", "--file", "Z:" + profile});
  unplugger.join();
  ASSERT_FALSE(device.plugged());
  const bool allStored = firmware.WriteCount() == 3;
  EXPECT_EQ(write.exitCode == 0, allStored) << Shown(write);
  EXPECT_EQ(Contains(write.out, "done"), allStored) << Shown(write);
  if (!allStored) {
    EXPECT_TRUE(Contains(write.err, ": write failed")) << Shown(write);
  }
}

}  // namespace
}  // namespace wine_hidstack
