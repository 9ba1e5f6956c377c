#include "uhidsim/UhidPedal.h"

#include <linux/uhid.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace uhidsim {

namespace {

void CopyText(std::uint8_t* field, std::size_t fieldSize, const std::string& text) {
  const std::size_t n = std::min(text.size(), fieldSize - 1);  // always zero-terminated
  std::memcpy(field, text.data(), n);
}

}  // namespace

const std::vector<std::uint8_t>& PedalReportDescriptor() {
  static const std::vector<std::uint8_t> descriptor = {
      0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,  // Vendor page FF00, usage 1, Application
      0x85, 0x02,                                // Report ID 2
      0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,  // usage 1, logical 0..255
      0x75, 0x08, 0x95, 0x07, 0x81, 0x02,        // Input 7 x 8 bits
      0x09, 0x01, 0x95, 0x07, 0x91, 0x02,        // Output 7 x 8 bits
      0xC0,
  };
  return descriptor;
}

UhidPedal::UhidPedal(int fd, PedalIdentity identity)
    : fd_(fd), identity_(std::move(identity)), firmware_(identity_.serial, identity_.product) {}

bool UhidPedal::Send(const void* event, std::size_t size) {
  for (;;) {
    const ssize_t n = ::write(fd_, event, size);
    if (n == static_cast<ssize_t>(size)) return true;
    if (n < 0 && errno == EINTR) continue;
    if (n >= 0) errno = EIO;
    return false;
  }
}

bool UhidPedal::Create() {
  uhid_event ev{};
  ev.type = UHID_CREATE2;
  CopyText(ev.u.create2.name, sizeof ev.u.create2.name, identity_.product);
  CopyText(ev.u.create2.phys, sizeof ev.u.create2.phys, "varnok-pedal-sim");
  CopyText(ev.u.create2.uniq, sizeof ev.u.create2.uniq, identity_.serial);
  const auto& rd = PedalReportDescriptor();
  ev.u.create2.rd_size = static_cast<std::uint16_t>(rd.size());
  std::memcpy(ev.u.create2.rd_data, rd.data(), rd.size());
  ev.u.create2.bus = 0x03;  // BUS_USB
  ev.u.create2.vendor = sim::PedalFirmware::kVendorId;
  ev.u.create2.product = sim::PedalFirmware::kProductId;
  ev.u.create2.version = 0x0100;
  ev.u.create2.country = 0;
  created_ = Send(&ev, sizeof ev);
  return created_;
}

bool UhidPedal::Destroy() {
  if (!created_) return true;
  created_ = false;
  uhid_event ev{};
  ev.type = UHID_DESTROY;
  return Send(&ev, sizeof ev);
}

bool UhidPedal::HandleOutput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> report(data, data + size);
  // The kernel passes output reports of any length; only whole 8-byte
  // reports reach the firmware.
  if (size != sim::PedalFirmware::kReportSize) {
    if (log_) log_(report, {}, true);
    return true;
  }
  const auto answers = firmware_.HandleOutputReport(data, size);
  bool ok = true;
  for (const auto& answer : answers) {
    uhid_event ev{};
    ev.type = UHID_INPUT2;
    ev.u.input2.size = static_cast<std::uint16_t>(answer.size());
    std::memcpy(ev.u.input2.data, answer.data(), answer.size());
    ok = Send(&ev, sizeof ev) && ok;
  }
  if (log_) log_(report, answers, false);
  return ok;
}

bool UhidPedal::HandleEvent() {
  uhid_event ev{};
  ssize_t n;
  do {
    n = ::read(fd_, &ev, sizeof ev);
  } while (n < 0 && errno == EINTR);
  if (n <= 0) {
    if (n == 0) errno = EPIPE;
    return false;
  }
  if (static_cast<std::size_t>(n) < sizeof ev.type) return true;  // nothing to act on
  switch (ev.type) {
    case UHID_OUTPUT: {
      const std::size_t size = std::min<std::size_t>(ev.u.output.size, sizeof ev.u.output.data);
      return HandleOutput(ev.u.output.data, size);
    }
    case UHID_GET_REPORT: {  // no feature or input reports on request
      uhid_event reply{};
      reply.type = UHID_GET_REPORT_REPLY;
      reply.u.get_report_reply.id = ev.u.get_report.id;
      reply.u.get_report_reply.err = EIO;
      return Send(&reply, sizeof reply);
    }
    case UHID_SET_REPORT: {
      uhid_event reply{};
      reply.type = UHID_SET_REPORT_REPLY;
      reply.u.set_report_reply.id = ev.u.set_report.id;
      reply.u.set_report_reply.err = EIO;
      return Send(&reply, sizeof reply);
    }
    default:  // START, STOP, OPEN, CLOSE: nothing to do
      return true;
  }
}

}  // namespace uhidsim
