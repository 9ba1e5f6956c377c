// Read handles of the Windows binding on one fake pedal (8-byte input
// reports, report id 2): what the read-handle contract every binding keeps
// asks of a binding (Open, Send, Unplug), and what this binding's own tests use.
#pragma once

#include <memory>
#include <vector>

#include "hid/platform/windows/tests/FakeBusFixture.h"

namespace hid::platform::windows::test {

class WindowsReadHandleFixture {
 public:
  WindowsReadHandleFixture() : backend_(FakeLibrary("varnok_fake_setupapi.dll"), FakeLibrary("varnok_fake_hid.dll")) {
    loaded_ = backend_.Load();
    const FakeHidDevice pedal = PedalDevice();
    char path[128] = {};
    id_ = FakeHidBus_Plug(&pedal, path, sizeof path);
    path_ = path;
  }
  ~WindowsReadHandleFixture() {
    FakeHidBus_Reset();
    if (loaded_) backend_.Release();
  }
  WindowsReadHandleFixture(const WindowsReadHandleFixture&) = delete;
  WindowsReadHandleFixture& operator=(const WindowsReadHandleFixture&) = delete;

  // A new read handle on the pedal; null when it cannot be opened.
  std::shared_ptr<ReadHandle> Open() {
    const int listeners = FakeHidBus_Listeners(id_);
    auto handle = backend_.OpenRead(path_);
    // Connected once the bus has seen it, so that a report sent next reaches it.
    if (handle) WaitFor([&] { return FakeHidBus_Listeners(id_) > listeners; });
    return handle;
  }
  // An input report from the pedal, to every open read handle.
  void Send(const std::vector<std::uint8_t>& report) {
    FakeHidBus_SendInput(id_, report.data(), static_cast<std::uint32_t>(report.size()));
  }
  void Unplug() { FakeHidBus_Unplug(id_); }

  WindowsHidBackend& Backend() { return backend_; }
  int Id() const { return id_; }
  const std::string& Path() const { return path_; }

 private:
  WindowsHidBackend backend_;
  bool loaded_ = false;
  int id_ = 0;
  std::string path_;
};

}  // namespace hid::platform::windows::test
