// The testbed and the wine server inside it, shared by every test of the run,
// and the fixture that plugs fake pedals and keyboards into it.
//
// One testbed and one wine server inside it serve every test. The wine
// prefix is made, and any server of it ended, before the testbed exists: a
// server started outside the testbed never sees its devices.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "WineSession.h"
#include "hid/platform/linux/tests/FakeHidTestbed.h"
#include "hid/platform/linux/tests/FakePedal.h"
#include "sim/PedalFirmware.h"

namespace wine_hidstack {

using hid::platform::linux_::fakes::FakeDeviceDescription;
using hid::platform::linux_::fakes::FakeHidDevice;
using hid::platform::linux_::fakes::FakeHidTestbed;
using hid::platform::linux_::fakes::FakePedal;

// The programs under test, from the command line.
struct Programs {
  std::string wineRun;
  std::string pedalExe;   // varnok-pedal.exe
  std::string prefix;
  std::string setupExe;   // varnok-setup.exe, Hookmod.dll beside it; empty: no window tests
  std::string probeExe;   // window-probe.exe
  std::string shotDir;    // screenshots
};
extern Programs g_programs;

class WineStack : public ::testing::Environment {
 public:
  static WineStack* instance;

  void SetUp() override;
  void TearDown() override;

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

bool Contains(const std::string& text, const std::string& part);
std::string Shown(const RunResult& r);

class WineStackTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // A pedal answering with `firmware`; `descriptor` replaces the
  // configuration collection's own (a composite pedal's, say).
  FakeHidDevice& PlugPedal(sim::PedalFirmware& firmware, const std::vector<std::uint8_t>& descriptor = {});
  FakeHidDevice& PlugKeyboard();
  // Unplugs `device` and waits until wine has let go of it.
  void Unplug(FakeHidDevice& device);
  void WaitUntilWineLetGo(const FakeHidDevice& device);

  // varnok-pedal.exe with ARGS.
  RunResult Pedal(std::vector<std::string> args);

  // Runs "list" until `done` holds for its result (winebus sees arrivals
  // and removals a moment after udev does); the last result in `last`.
  bool WaitForList(const std::function<bool(const RunResult&)>& done, RunResult* last = nullptr);
  bool WaitForPedals(std::size_t count, RunResult* last = nullptr);

  // The firmware the fake pedals answer with lives as long as the fixture,
  // past TearDown, where the pedals are unplugged and go.
  template <typename... Args>
  sim::PedalFirmware& Firmware(Args&&... args) {
    return firmwares_.emplace_back(std::forward<Args>(args)...);
  }

  std::vector<FakeHidDevice*> plugged_;
  std::deque<sim::PedalFirmware> firmwares_;
};

}  // namespace wine_hidstack
