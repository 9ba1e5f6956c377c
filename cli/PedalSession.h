// The device side of varnok-pedal: a controller on a platform binding, the
// pedals it finds, and the exchanges with one checked-out pedal. Runs the
// controller's notifications and the readers' hand-offs on the calling
// thread while it waits, so a command-line program needs no event loop.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/KeyCombination.h"
#include "hid/MainThreadQueue.h"
#include "hid/THidDevice.h"
#include "hid/THidDeviceController.h"
#include "hid/platform/HidPlatform.h"

namespace cli {

inline constexpr std::uint16_t kPedalVendorId = 0x16C0;
inline constexpr std::uint16_t kPedalProductId = 0x05E1;
inline constexpr std::uint16_t kPedalReportLength = 8;

struct PedalInfo {
  std::int32_t index = 0;  // in the controller's list
  std::string path;
  std::string serial;
  std::string product;
  bool readWrite = false;  // this user may open it for reading and writing
  std::uint32_t refusedNative = 0;  // the platform's code for a refused read/write open (0: none)
};

struct Answer {
  PedalBytes bytes{};
  std::uint8_t versionCode = 0;
};

struct WriteOutcome {
  bool ok = false;
  std::uint32_t written = 0;
  int error = 0;  // errno-style, when !ok
  std::uint32_t nativeError = 0;  // the platform's own code behind it (0: none)
};

class PedalSession {
 public:
  using Clock = std::chrono::steady_clock;

  explicit PedalSession(hid::platform::Backend& backend);
  ~PedalSession();
  PedalSession(const PedalSession&) = delete;
  PedalSession& operator=(const PedalSession&) = delete;

  // Whether the platform library could be loaded.
  bool Loaded() const { return controller_->Loaded(); }
  // Whether device-change notifications can be had.
  bool HasMonitor() const { return controller_->HasMonitor(); }

  // The pedals present now: VID, PID and 8-byte output reports.
  std::vector<PedalInfo> Pedals();

  // Checks out the pedal (one at a time; a second Open gives the first back).
  bool Open(const PedalInfo& pedal);
  void Close();

  // Asks pedals 0..count-1 for their assignment, asking again those that
  // have not answered (soon at first, then every 500 ms), until all answered or `timeout` passed,
  // or at once when the pedal went away (Gone()). Missing answers stay empty.
  std::vector<std::optional<Answer>> ReadOut(int count, std::chrono::milliseconds timeout);
  // errno-style reason why the last read request of the last ReadOut could
  // not be sent; 0 when it was sent.
  int LastRequestError() const { return lastRequestError_; }
  // Whether the checked-out pedal went away (unplugged) since Open.
  bool Gone() const { return gone_; }

  // Writes one pedal's assignment (0-based index) as one 8-byte report.
  WriteOutcome Write(int pedalIndex, const PedalBytes& bytes);

  // Reports pedal arrivals and removals seen by the device-change monitor
  // ("arrived <path>" / "removed <path>") until `count` were seen or
  // `timeout` passed; returns how many were seen. `ready` runs once the
  // pedals present at the start are known.
  int Watch(int count, std::chrono::milliseconds timeout, const std::function<void(const std::string&)>& line,
            const std::function<void()>& ready);

 private:
  void OnData(hid::THidDevice* device, std::uint8_t reportId, const std::uint8_t* data, std::uint16_t size);
  bool OnEnumerate(hid::THidDevice* device, std::int32_t index);
  void OnArrival(hid::THidDevice* device);
  void OnRemoval(hid::THidDevice* device);
  // Serves the monitor and the queue until `done` or the deadline.
  bool Serve(const std::function<bool()>& done, Clock::time_point deadline);
  static bool IsPedal(hid::THidDevice* device);

  hid::platform::Backend& backend_;
  hid::MainThreadQueue queue_;
  std::unique_ptr<hid::THidDeviceController> controller_;
  hid::THidDevice* current_ = nullptr;
  std::vector<PedalInfo> found_;
  std::vector<std::optional<Answer>> answers_;
  std::vector<std::string> knownPedals_;
  std::function<void(const std::string&)> watchLine_;
  int watchEvents_ = 0;
  int lastRequestError_ = 0;
  bool gone_ = false;
};

}  // namespace cli
