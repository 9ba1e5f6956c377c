// Shared pieces of the Windows binding's tests: fake devices on the fake bus,
// and a backend that loads the fake setupapi and hid DLLs from this test's
// folder in place of the system's.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cwchar>
#include <functional>
#include <string>
#include <thread>

#include "hid/platform/windows/WindowsHidBackend.h"
#include "hid/platform/windows/tests/fake/FakeHidBus.h"

namespace hid::platform::windows::test {

using namespace std::chrono_literals;

// The folder of the running test program.
inline std::string TestFolder() {
  char path[MAX_PATH * 2] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\'));
}

inline std::string FakeLibrary(const char* name) { return TestFolder() + "\\" + name; }

inline bool ModuleLoaded(const std::string& path) { return GetModuleHandleA(path.c_str()) != nullptr; }

// The pedal: 0x16C0:0x05E1, 8-byte reports with id 2, the firmware model behind it.
inline FakeHidDevice PedalDevice(const wchar_t* serial = L"VK0001") {
  FakeHidDevice d{};
  d.vendorId = 0x16C0;
  d.productId = 0x05E1;
  d.version = 0x0101;
  d.usagePage = 0xFF00;
  d.usage = 0x01;
  d.inputLength = 8;
  d.outputLength = 8;
  std::wcsncpy(d.product, L"Varnok foot switch", 63);
  std::wcsncpy(d.serial, serial, 63);
  d.language = 0x0409;
  d.firmware = 1;
  return d;
}

// A keyboard collection the system keeps for itself: opens only without access rights.
inline FakeHidDevice KeyboardDevice() {
  FakeHidDevice d{};
  d.vendorId = 0x046D;
  d.productId = 0xC31C;
  d.usagePage = 0x01;
  d.usage = 0x06;
  d.inputLength = 9;
  d.outputLength = 2;
  std::wcsncpy(d.product, L"USB Keyboard", 63);
  d.language = 0x0409;
  d.readWriteRefused = 1;
  return d;
}

struct PluggedDevice {
  int id = 0;
  std::string path;
};

// Waits for `done` in short slices; false after a generous limit.
inline bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 20s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

class FakeBusTest : public ::testing::Test {
 protected:
  void TearDown() override { FakeHidBus_Reset(); }

  PluggedDevice Plug(const FakeHidDevice& device) {
    PluggedDevice plugged;
    char path[128] = {};
    plugged.id = FakeHidBus_Plug(&device, path, sizeof path);
    EXPECT_NE(plugged.id, 0);
    plugged.path = path;
    return plugged;
  }

  const std::string setupApi_ = FakeLibrary("varnok_fake_setupapi.dll");
  const std::string hid_ = FakeLibrary("varnok_fake_hid.dll");
  WindowsHidBackend backend{setupApi_, hid_};
};

}  // namespace hid::platform::windows::test
