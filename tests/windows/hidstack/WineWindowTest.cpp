// varnok-setup.exe, with Hookmod.dll, under wine in a virtual desktop on the
// test's X display, against fake pedals on the testbed through wine's own HID
// stack. Driven with XTest (xdotool); window-probe.exe tells where its window
// is, and copies a box's text (Ctrl+C, as Windows' boxes allow).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "WineStack.h"
#include "hid/platform/descriptor/tests/KnownDescriptors.h"

namespace wine_hidstack {
namespace {

using namespace std::chrono_literals;

const std::string kMainTitle = "Varnok setup program";
const std::string kWriteInTitle = "Write in";
// Client-area points of the fixed layout: the key box (tab control at 8,120,
// box at 136,80, 177x25) and "Write in" (224,288, 89x33).
constexpr int kKeyBoxX = 8 + 136 + 88, kKeyBoxY = 120 + 80 + 12;
constexpr int kWriteInX = 224 + 44, kWriteInY = 288 + 16;
// The pedal count's text (spin edit at 128,288, 49x26).
constexpr int kPedalCountX = 128 + 15, kPedalCountY = 288 + 13;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsReadRequest(const FakeHidDevice::Report& r) { return r.size() >= 2 && r[0] == 0x02 && r[1] == 0x01; }
bool IsWriteReport(const FakeHidDevice::Report& r) { return r.size() >= 2 && r[0] == 0x02 && r[1] == 0x02; }

std::size_t CountOf(const FakeHidDevice& device, bool (*kind)(const FakeHidDevice::Report&)) {
  std::size_t n = 0;
  for (const auto& r : device.Written()) n += kind(r) ? 1 : 0;
  return n;
}

template <typename Condition>
bool WaitFor(Condition done, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(100ms);
  }
  return true;
}

class WineWindowTest : public WineStackTest {
 protected:
  void SetUp() override {
    if (g_programs.setupExe.empty() || std::getenv("DISPLAY") == nullptr)
      GTEST_SKIP() << "no varnok-setup.exe or no X display";
    desktop_ = "varnok-hidstack-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
  }

  void TearDown() override {
    if (window_ > 0) {
      Probe({"close", kMainTitle});
      if (WineSession::WaitForEnd(window_, 60s) < 0) ADD_FAILURE() << "the window did not end when closed";
    }
    if (!g_programs.setupExe.empty() && std::getenv("DISPLAY") != nullptr) WineStackTest::TearDown();
  }

  // Starts the window and waits for it to stand at its place; sets the
  // client area's screen origin.
  void StartWindow() {
    window_ = WineStack::instance->wine().Start(
        {"explorer", "/desktop=" + desktop_ + ",1024x768,x11", g_programs.setupExe},
        WineStack::instance->workDir() + "/window.log");
    ASSERT_GT(window_, 0);
    std::string geometry;
    ASSERT_TRUE(WaitFor(
        [&] {
          geometry = Probe({"geometry", kMainTitle}).out;
          return Contains(geometry, "frame 561 168 ");
        },
        90s))
        << "the window did not come: " << geometry;
    const std::size_t at = geometry.find("client-origin ");
    ASSERT_NE(at, std::string::npos) << geometry;
    std::sscanf(geometry.c_str() + at, "client-origin %d %d", &clientX_, &clientY_);
  }

  RunResult Probe(std::vector<std::string> args) {
    args.insert(args.begin(), {g_programs.probeExe, desktop_});
    return WineStack::instance->wine().Run(args, 90s);
  }

  static void Xdo(const std::string& args) {
    ASSERT_EQ(std::system(("xdotool " + args).c_str()), 0) << "xdotool " << args;
  }
  void Click(int x, int y) { Xdo("mousemove " + std::to_string(clientX_ + x) + " " + std::to_string(clientY_ + y) + " click 1"); }

  void Screenshot(const std::string& name) {
    std::system(("import -window root '" + g_programs.shotDir + "/hidstack-" + name + ".png' 2>/dev/null").c_str());
  }

  // The text of the box "Write in" once it shows, then the box closed.
  std::string WriteInBoxText() {
    if (Probe({"wait", kWriteInTitle}).exitCode != 0) return "(no box \"Write in\")";
    Screenshot(::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string text;
    WaitFor(
        [&] {
          Xdo("key ctrl+c");
          text = Probe({"clipboard"}).out;
          return Contains(text, kWriteInTitle);
        },
        30s);
    Xdo("key Return");
    EXPECT_EQ(Probe({"gone", kWriteInTitle}).exitCode, 0) << "the box stayed";
    return text;
  }

  // Ctrl+A typed into the key box and written in; the text of the box
  // "Write in". Until the hook is on when the keys come, each try ends in a
  // write-in.
  std::string CaptureCtrlAAndWriteIn(const FakeHidDevice& pedal, const sim::PedalFirmware& firmware) {
    std::string box;
    for (int attempt = 0; attempt < 5 && firmware.GetSlot(0) != sim::PedalFirmware::Slot{0x01, 0x04, 0x00, 0x00};
         ++attempt) {
      const std::size_t writes = CountOf(pedal, IsWriteReport);
      Click(kKeyBoxX, kKeyBoxY);
      std::this_thread::sleep_for(1s);
      Xdo("key ctrl+a");
      Click(kWriteInX, kWriteInY);
      if (!WaitFor([&] { return CountOf(pedal, IsWriteReport) > writes; }, 60s)) return "(Write in sent nothing)";
      box = WriteInBoxText();
    }
    return box;
  }

  // Read requests reach DEVICE: the window found the pedal and reads it out.
  static bool WaitForReadOut(const FakeHidDevice& device) {
    return WaitFor([&] { return CountOf(device, IsReadRequest) > 0; }, 90s);
  }

  std::string desktop_;
  int window_ = -1;
  int clientX_ = 0, clientY_ = 0;
};

// The pedal is read out, Ctrl+A is taken through the real hook, and "Write
// in" programs it and says so; the keyboard beside it is never written to.
TEST_F(WineWindowTest, ReadsOutCapturesCtrlAAndWritesIn) {
  FakeHidDevice& keyboard = PlugKeyboard();
  sim::PedalFirmware& firmware = Firmware("PEDALW1");
  FakeHidDevice& pedal = PlugPedal(firmware);
  StartWindow();
  ASSERT_TRUE(WaitForReadOut(pedal)) << "no read request reached the pedal";

  const std::string box = CaptureCtrlAAndWriteIn(pedal, firmware);
  EXPECT_EQ(firmware.GetSlot(0), (sim::PedalFirmware::Slot{0x01, 0x04, 0x00, 0x00}));
  // What was read out is written back as it was.
  EXPECT_EQ(firmware.GetSlot(1), sim::PedalFirmware::DefaultSlot(1));
  EXPECT_TRUE(Contains(box, "Setup Done!")) << box;
  EXPECT_TRUE(Contains(box, "SN:PEDALW1")) << box;
  EXPECT_TRUE(keyboard.Written().empty()) << "the keyboard was written to";
}

// Of two pedals, the one shown is the one written; the other keeps its keys.
TEST_F(WineWindowTest, TwoPedalsOnlyTheChosenOneIsWritten) {
  sim::PedalFirmware& first = Firmware("PEDALWA");
  sim::PedalFirmware& second = Firmware("PEDALWB");
  FakeHidDevice& a = PlugPedal(first);
  FakeHidDevice& b = PlugPedal(second);
  ASSERT_TRUE(WaitForPedals(2));
  StartWindow();
  ASSERT_TRUE(WaitFor([&] { return CountOf(a, IsReadRequest) + CountOf(b, IsReadRequest) > 0; }, 90s));
  Click(kWriteInX, kWriteInY);
  ASSERT_TRUE(WaitFor([&] { return first.WriteCount() + second.WriteCount() > 0; }, 60s)) << "Write in sent nothing";
  const std::string box = WriteInBoxText();
  EXPECT_TRUE(first.WriteCount() == 0 || second.WriteCount() == 0) << "both pedals were written";
  const std::string written = first.WriteCount() > 0 ? "PEDALWA" : "PEDALWB";
  EXPECT_TRUE(Contains(box, "Setup Done!") && Contains(box, "SN:" + written)) << box;
}

// The pedal found again after a re-plug; an unplug during a write-in of
// three pedals is never reported done.
TEST_F(WineWindowTest, ReplugIsFoundAgainAndAnUnplugDuringAWriteInIsNotDone) {
  sim::PedalFirmware& firmware = Firmware("PEDALW2");
  FakeHidDevice& before = PlugPedal(firmware);
  StartWindow();
  ASSERT_TRUE(WaitForReadOut(before));
  Unplug(before);
  // Plugged again once wine has seen it go, as a hand does.
  ASSERT_TRUE(WaitForList([](const RunResult& r) { return r.exitCode == 2; }));
  FakeHidDevice& after = PlugPedal(firmware);
  ASSERT_TRUE(WaitForReadOut(after)) << "the re-plugged pedal was not read out";
  // Three pedals: the count's read-out asks for pedal 3 too.
  Click(kPedalCountX, kPedalCountY);
  Xdo("key Up Up");
  ASSERT_TRUE(WaitFor(
      [&] {
        for (const auto& r : after.Written())
          if (IsReadRequest(r) && r.size() > 2 && r[2] == 2) return true;
        return false;
      },
      60s))
      << "the count did not become 3";
  std::this_thread::sleep_for(2s);  // the read-out's answers taken

  const unsigned writesBefore = firmware.WriteCount();
  const std::size_t reportsBefore = after.Written().size();
  std::thread unplugger([&] {
    if (after.WaitForWritten(reportsBefore + 1, 60s)) Unplug(after);
  });
  Click(kWriteInX, kWriteInY);
  unplugger.join();
  ASSERT_FALSE(after.plugged()) << "Write in sent nothing";
  const std::string box = WriteInBoxText();
  // Never done unless all three reached the pedal; a check the unplug cut
  // short may fail a write-in that did.
  const bool allStored = firmware.WriteCount() - writesBefore == 3;
  EXPECT_TRUE(allStored || !Contains(box, "Setup Done!")) << box;
  if (!allStored) {
    EXPECT_TRUE(Contains(box, "was not")) << box;
  }
}

// What wine's Raw Input delivers of a composite pedal's keyboard collection:
// the collection is listed as a keyboard with the pedal's ids, but its own
// key reports never come. (With the focus in wine's desktop, the X server's
// keys come in its name, the only HID keyboard.) The window therefore leaves
// Raw Input alone under wine: every key typed would count as the pedal's.
TEST_F(WineWindowTest, RawInputListsThePedalsKeyboardButNotItsKeys) {
  sim::PedalFirmware& firmware = Firmware("PEDALW3");
  FakeHidDevice& pedal = PlugPedal(firmware, hid::platform::descriptor::known::kCompositeKeyboard);
  ASSERT_TRUE(WaitForPedals(1));
  const std::string log = WineStack::instance->workDir() + "/rawinput.log";
  const int probe = WineStack::instance->wine().Start(
      {"explorer", "/desktop=" + desktop_ + ",1024x768,x11", g_programs.probeExe, desktop_, "rawinput", "15"}, log);
  ASSERT_GT(probe, 0);
  ASSERT_TRUE(WaitFor([&] { return Contains(ReadText(log), "listening"); }, 90s)) << ReadText(log);
  pedal.SendInput({0x01, 0x01, 0x00, 0x19, 0, 0, 0, 0, 0});   // Ctrl+V
  std::this_thread::sleep_for(100ms);
  pedal.SendInput({0x01, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0});
  EXPECT_GE(WineSession::WaitForEnd(probe, 60s), 0);
  const std::string seen = ReadText(log);
  const std::string keyboard = "\\\\?\\HID#VID_16C0&PID_05E1#";
  EXPECT_TRUE(Contains(seen, "device 1 " + keyboard)) << seen;
  EXPECT_FALSE(Contains(seen, "make 47 ") || Contains(seen, "make 29 "))
      << "the pedal's Ctrl+V came: Raw Input may serve under wine now\n" << seen;
}

// So a composite pedal under wine takes nothing away from the key box.
TEST_F(WineWindowTest, CompositePedalLeavesTheCaptureAlone) {
  sim::PedalFirmware& firmware = Firmware("PEDALW4");
  FakeHidDevice& pedal = PlugPedal(firmware, hid::platform::descriptor::known::kCompositeKeyboard);
  StartWindow();
  ASSERT_TRUE(WaitForReadOut(pedal)) << "no read request reached the pedal";
  const std::string box = CaptureCtrlAAndWriteIn(pedal, firmware);
  EXPECT_EQ(firmware.GetSlot(0), (sim::PedalFirmware::Slot{0x01, 0x04, 0x00, 0x00})) << box;
}

}  // namespace
}  // namespace wine_hidstack
