// A pedal on the kernel's user-space HID transport (/dev/uhid): announces
// itself as the foot switch (USB bus, 16C0:05E1, the pedal's report
// descriptor) and answers output reports the way sim::PedalFirmware does.
//
//   UhidPedal pedal(fd, {.serial = "VK0001"});
//   pedal.Create();
//   while (running) { wait for fd; pedal.HandleEvent(); }
//   pedal.Destroy();
//
// The fd is any descriptor that carries whole struct uhid_event records
// (the uhid device itself, or a socket in tests).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sim/PedalFirmware.h"

namespace uhidsim {

struct PedalIdentity {
  std::string serial = "VK0001";
  std::string product = "Varnok foot switch";
};

// The pedal's configuration collection: vendor page FF00, report id 2,
// seven data bytes in each direction.
const std::vector<std::uint8_t>& PedalReportDescriptor();

class UhidPedal {
 public:
  // Called once per output report received: the report and the answers sent.
  using ReportLog = std::function<void(const std::vector<std::uint8_t>& report,
                                       const std::vector<sim::PedalFirmware::Report>& answers, bool refused)>;

  UhidPedal(int fd, PedalIdentity identity);

  void SetReportLog(ReportLog log) { log_ = std::move(log); }
  sim::PedalFirmware& Firmware() { return firmware_; }

  // Sends UHID_CREATE2; false with errno set when the write failed.
  bool Create();
  // Reads and handles one event; false when reading failed or the fd closed.
  bool HandleEvent();
  // Sends UHID_DESTROY once (after a successful Create); safe to call again.
  bool Destroy();

 private:
  bool Send(const void* event, std::size_t size);
  bool HandleOutput(const std::uint8_t* data, std::size_t size);

  int fd_;
  PedalIdentity identity_;
  sim::PedalFirmware firmware_;
  ReportLog log_;
  bool created_ = false;
};

}  // namespace uhidsim
