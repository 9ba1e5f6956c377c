#include "WineStack.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "hid/platform/descriptor/tests/KnownDescriptors.h"

namespace wine_hidstack {

using namespace std::chrono_literals;

Programs g_programs;
WineStack* WineStack::instance = nullptr;

void WineStack::SetUp() {
  char dir[] = "/tmp/wine-hidstack-XXXXXX";
  work_ = ::mkdtemp(dir);
  wine_ = std::make_unique<WineSession>(g_programs.wineRun, g_programs.prefix, work_);
  WineSession::IgnoreHangup();
  wine_->Run({"cmd", "/c", "exit"}, 600s);
  wine_->Stop();
  bed_ = std::make_unique<FakeHidTestbed>(/*writersWakePoll=*/true);
}

void WineStack::TearDown() {
  wine_->Stop();
  pedals_.clear();
  bed_.reset();
  std::system(("rm -rf " + work_).c_str());
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string Shown(const RunResult& r) {
  return "exit " + std::to_string(r.exitCode) + "\nstdout:\n" + r.out + "stderr:\n" + r.err;
}

void WineStackTest::TearDown() {
  for (FakeHidDevice* device : plugged_) {
    Unplug(*device);
    WaitUntilWineLetGo(*device);  // also after an unplug of the test's own
  }
  // The next test starts with no device: wine has seen every removal.
  EXPECT_TRUE(WaitForList([](const RunResult& r) { return r.exitCode == 2; })) << "devices still listed after the test";
  WineStack::instance->pedals().clear();
}

FakeHidDevice& WineStackTest::PlugPedal(sim::PedalFirmware& firmware, const std::vector<std::uint8_t>& descriptor) {
  FakeDeviceDescription description = FakePedal::Description(firmware);
  if (!descriptor.empty()) description.reportDescriptor = descriptor;
  FakeHidDevice& device = WineStack::instance->bed().Plug(description);
  WineStack::instance->pedals().push_back(std::make_unique<FakePedal>(device, firmware));
  plugged_.push_back(&device);
  return device;
}

FakeHidDevice& WineStackTest::PlugKeyboard() {
  FakeDeviceDescription keyboard;
  keyboard.vendorId = 0x046D;
  keyboard.productId = 0xC31C;
  keyboard.product = "USB Keyboard";
  keyboard.reportDescriptor = hid::platform::descriptor::known::kBootKeyboard;
  FakeHidDevice& device = WineStack::instance->bed().Plug(keyboard);
  plugged_.push_back(&device);
  return device;
}

void WineStackTest::Unplug(FakeHidDevice& device) {
  if (!device.plugged()) return;
  WineStack::instance->bed().Unplug(device);
  WaitUntilWineLetGo(device);
}

namespace {

// Whether a process other than this one has `node` (a testbed device file) open.
bool OpenElsewhere(const std::string& node) {
  struct stat target {};
  if (::stat(node.c_str(), &target) != 0) return false;
  const std::string self = std::to_string(::getpid());
  std::error_code error;
  for (const auto& process : std::filesystem::directory_iterator("/proc", error)) {
    const std::string pid = process.path().filename();
    if (pid == self || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code gone;  // the process may end while it is looked at
    for (const auto& fd : std::filesystem::directory_iterator(process.path() / "fd", gone)) {
      struct stat opened {};
      if (::stat(fd.path().c_str(), &opened) == 0 && S_ISCHR(opened.st_mode) && opened.st_rdev == target.st_rdev)
        return true;
    }
  }
  return false;
}

}  // namespace

void WineStackTest::WaitUntilWineLetGo(const FakeHidDevice& device) {
  // Wine 8's winebus takes a removed device off its list twice: when udev
  // reports it and again when its removal is done. A device that comes or
  // goes in between is lost or kept for good, so nothing is plugged or
  // unplugged until winebus has closed the node, the last step of a removal.
  const std::string node = WineStack::instance->bed().rootDir() + device.devnode();
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  while (OpenElsewhere(node)) {
    if (std::chrono::steady_clock::now() >= deadline) {
      ADD_FAILURE() << "wine kept " << device.devnode() << " open after it went";
      return;
    }
    std::this_thread::sleep_for(50ms);
  }
}

RunResult WineStackTest::Pedal(std::vector<std::string> args) {
  args.insert(args.begin(), g_programs.pedalExe);
  return WineStack::instance->wine().Run(args, 120s);
}

bool WineStackTest::WaitForList(const std::function<bool(const RunResult&)>& done, RunResult* last) {
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

bool WineStackTest::WaitForPedals(std::size_t count, RunResult* last) {
  return WaitForList(
      [count](const RunResult& r) {
        std::size_t lines = 0;
        for (std::size_t at = r.out.find("firmware"); at != std::string::npos; at = r.out.find("firmware", at + 1))
          ++lines;
        return r.exitCode == 0 && lines == count;
      },
      last);
}

}  // namespace wine_hidstack
