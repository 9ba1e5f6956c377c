// varnok-pedal.exe under wine against fake pedals on a umockdev testbed,
// through wine's own setupapi, hid, hidclass and winebus (its udev bus reads
// the fake hidraw nodes). No DLL of ours is on that path.
//
//   umockdev-wrapper wine_hidstack_test WINE_RUN VARNOK_PEDAL_EXE PREFIX
//
// One testbed and one wine server inside it serve every test. Exit 77
// (skipped) when the testbed cannot run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <deque>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "WineSession.h"
#include "hid/platform/descriptor/tests/KnownDescriptors.h"
#include "hid/platform/linux/tests/FakeHidTestbed.h"
#include "hid/platform/linux/tests/FakePedal.h"
#include "sim/PedalFirmware.h"

namespace {

using namespace std::chrono_literals;
using hid::platform::linux_::fakes::FakeDeviceDescription;
using hid::platform::linux_::fakes::FakeHidDevice;
using hid::platform::linux_::fakes::FakeHidTestbed;
using hid::platform::linux_::fakes::FakePedal;
using wine_hidstack::RunResult;
using wine_hidstack::WineSession;

std::string g_wineRun, g_exe, g_prefix;

// The testbed and the wine server inside it, for the whole run.
class WineStack : public ::testing::Environment {
 public:
  static WineStack* instance;

  void SetUp() override {
    char dir[] = "/tmp/wine-hidstack-XXXXXX";
    work_ = ::mkdtemp(dir);
    wine_ = std::make_unique<WineSession>(g_wineRun, g_prefix, work_);
    WineSession::IgnoreHangup();
    // The prefix is made (once) and any server of it ended before the
    // testbed exists: a server started outside never sees its devices.
    wine_->Run({"cmd", "/c", "exit"}, 600s);
    wine_->Stop();
    bed_ = std::make_unique<FakeHidTestbed>(/*writersWakePoll=*/true);
  }

  void TearDown() override {
    wine_->Stop();
    pedals_.clear();
    bed_.reset();
    std::system(("rm -rf " + work_).c_str());
  }

  FakeHidTestbed& bed() { return *bed_; }
  const std::string& workDir() const { return work_; }
  const WineSession& wine() { return *wine_; }
  std::vector<std::unique_ptr<FakePedal>>& pedals() { return pedals_; }

 private:
  std::string work_;
  std::unique_ptr<WineSession> wine_;
  std::unique_ptr<FakeHidTestbed> bed_;
  std::vector<std::unique_ptr<FakePedal>> pedals_;
};
WineStack* WineStack::instance = nullptr;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string Shown(const RunResult& r) {
  return "exit " + std::to_string(r.exitCode) + "\nstdout:\n" + r.out + "stderr:\n" + r.err;
}

class WineHidStackTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (FakeHidDevice* device : plugged_) Unplug(*device);
    // The next test starts with no device: wine has seen every removal.
    EXPECT_TRUE(WaitForList([](const RunResult& r) { return r.exitCode == 2; }))
        << "devices still listed after the test";
    WineStack::instance->pedals().clear();
  }

  FakeHidDevice& PlugPedal(sim::PedalFirmware& firmware) {
    FakeHidDevice& device = WineStack::instance->bed().Plug(FakePedal::Description(firmware));
    WineStack::instance->pedals().push_back(std::make_unique<FakePedal>(device, firmware));
    plugged_.push_back(&device);
    return device;
  }

  FakeHidDevice& PlugKeyboard() {
    FakeDeviceDescription keyboard;
    keyboard.vendorId = 0x046D;
    keyboard.productId = 0xC31C;
    keyboard.product = "USB Keyboard";
    keyboard.reportDescriptor = hid::platform::descriptor::known::kBootKeyboard;
    FakeHidDevice& device = WineStack::instance->bed().Plug(keyboard);
    plugged_.push_back(&device);
    return device;
  }

  void Unplug(FakeHidDevice& device) {
    if (device.plugged()) WineStack::instance->bed().Unplug(device);
  }

  RunResult Pedal(std::vector<std::string> args) {
    args.insert(args.begin(), g_exe);
    return WineStack::instance->wine().Run(args, 120s);
  }

  // Runs "list" until `done` holds for its result (winebus sees arrivals
  // and removals a moment after udev does); the last result in `last`.
  bool WaitForList(const std::function<bool(const RunResult&)>& done, RunResult* last = nullptr) {
    const auto deadline = std::chrono::steady_clock::now() + 90s;
    for (;;) {
      RunResult r = Pedal({"list", "--timeout", "3000"});
      const bool ok = done(r);
      if (last != nullptr) *last = r;
      if (ok) return true;
      if (std::chrono::steady_clock::now() >= deadline) {
        ADD_FAILURE() << "last list: " << Shown(r);
        return false;
      }
      std::this_thread::sleep_for(500ms);
    }
  }

  bool WaitForPedals(std::size_t count, RunResult* last = nullptr) {
    return WaitForList(
        [count](const RunResult& r) {
          std::size_t lines = 0;
          for (std::size_t at = r.out.find("firmware"); at != std::string::npos; at = r.out.find("firmware", at + 1))
            ++lines;
          return r.exitCode == 0 && lines == count;
        },
        last);
  }

  // The firmware the fake pedals answer with lives as long as the fixture,
  // past TearDown, where the pedals are unplugged and go.
  template <typename... Args>
  sim::PedalFirmware& Firmware(Args&&... args) {
    return firmwares_.emplace_back(std::forward<Args>(args)...);
  }

  std::vector<FakeHidDevice*> plugged_;
  std::deque<sim::PedalFirmware> firmwares_;
};

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

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s WINE_RUN VARNOK_PEDAL_EXE PREFIX\n", argv[0]);
    return 2;
  }
  if (!FakeHidTestbed::Available()) {
    std::fprintf(stderr, "not under umockdev-wrapper: skipped\n");
    return 77;
  }
  g_wineRun = argv[1];
  g_exe = argv[2];
  g_prefix = argv[3];
  WineStack::instance = new WineStack;
  ::testing::AddGlobalTestEnvironment(WineStack::instance);
  return RUN_ALL_TESTS();
}
