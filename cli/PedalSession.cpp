#include "cli/PedalSession.h"

#include <algorithm>
#include <cerrno>
#include <thread>

#include "cli/Utf8.h"
#include "hid/ReportWrite.h"
#include "protocol/PedalAnswer.h"
#include "protocol/PedalConfigTable.h"
#include "protocol/PedalReport.h"

namespace cli {

namespace {

using namespace std::chrono_literals;

// Pause after each report, as the pedal's firmware expects reports paced.
constexpr auto kReportPause = 50ms;
// Unanswered pedals are asked again after 100, 200, 400 ms, then every
// 500 ms: the first requests often go out before the reader has its read
// outstanding, and a late second answer does no harm.
constexpr auto kFirstAskAgain = 100ms;
constexpr auto kAskAgainAfter = 500ms;
constexpr auto kServeSlice = 10ms;


}  // namespace

PedalSession::PedalSession(hid::platform::Backend& backend) : backend_(backend) {
  controller_ = std::make_unique<hid::THidDeviceController>(backend_, queue_);
  controller_->BeginLoading();
  controller_->SetOnDeviceData(hid::MakeHandler(this, &PedalSession::OnData));
  controller_->SetOnEnumerate(hid::MakeHandler(this, &PedalSession::OnEnumerate));
  controller_->SetOnArrival(hid::MakeHandler(this, &PedalSession::OnArrival));
  controller_->SetOnRemoval(hid::MakeHandler(this, &PedalSession::OnRemoval));
  controller_->EndLoading();
  // The controller's first notification: the first scan.
  queue_.ServePending();
}

PedalSession::~PedalSession() {
  Close();
  controller_.reset();
}

bool PedalSession::IsPedal(hid::THidDevice* device) {
  if (device->VendorID() != kPedalVendorId || device->ProductID() != kPedalProductId) return false;
  hid::platform::HIDP_CAPS caps;
  device->ReadCaps(caps);
  return caps.OutputReportByteLength == kPedalReportLength;
}

bool PedalSession::OnEnumerate(hid::THidDevice* device, std::int32_t index) {
  if (IsPedal(device)) {
    PedalInfo info;
    info.index = index;
    info.path = device->DevicePath();
    info.serial = Utf8(device->SerialText());
    info.product = Utf8(device->ProductText());
    info.readWrite = device->ReadWriteAccess();
    info.refusedNative = info.readWrite ? 0 : device->ReadWriteOpenNativeError();
    found_.push_back(std::move(info));
  }
  return true;
}

std::vector<PedalInfo> PedalSession::Pedals() {
  found_.clear();
  controller_->EnumerateDevices();
  std::vector<PedalInfo> out;
  out.swap(found_);
  return out;
}

bool PedalSession::Open(const PedalInfo& pedal) {
  Close();
  hid::THidDevice* device = nullptr;
  if (!controller_->CheckOutAt(device, pedal.index)) return false;
  if (device->DevicePath() != pedal.path) {  // the list changed under us
    delete device;
    return false;
  }
  current_ = device;
  gone_ = false;
  return true;
}

void PedalSession::Close() {
  if (current_ != nullptr) {
    hid::THidDevice* device = current_;
    current_ = nullptr;
    delete device;
  }
}

void PedalSession::OnData(hid::THidDevice* device, std::uint8_t reportId, const std::uint8_t* data,
                          std::uint16_t size) {
  if (device != current_) return;
  const protocol::PedalAnswer answer = protocol::DecodeInputReport(reportId, data, size);
  if (!answer.isConfigAnswer || answer.pedalIndex >= answers_.size()) return;
  Answer a;
  a.bytes = {answer.modifiers, answer.keys[0], answer.keys[1], answer.keys[2]};
  a.versionCode = answer.versionCode;
  answers_[answer.pedalIndex] = a;
  queue_.Notify();
}

bool PedalSession::Serve(const std::function<bool()>& done, Clock::time_point deadline) {
  for (;;) {
    controller_->OnMonitorReadable();  // never blocks, whatever kind of monitor
    const auto now = Clock::now();
    if (done()) return true;
    if (now >= deadline) return false;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
    if (queue_.ServeUntil(done, std::min<std::chrono::milliseconds>(left, kServeSlice))) return true;
  }
}

std::vector<std::optional<Answer>> PedalSession::ReadOut(int count, std::chrono::milliseconds timeout) {
  answers_.assign(static_cast<std::size_t>(std::max(count, 0)), std::nullopt);
  lastRequestError_ = 0;
  if (current_ == nullptr || count <= 0) return answers_;
  const auto deadline = Clock::now() + timeout;
  auto allAnsweredOrGone = [this] {
    return gone_ || std::all_of(answers_.begin(), answers_.end(), [](const auto& a) { return a.has_value(); });
  };
  auto wait = std::chrono::milliseconds(kFirstAskAgain);
  for (;;) {
    for (int p = 0; p < count; ++p) {
      if (answers_[static_cast<std::size_t>(p)]) continue;
      const protocol::PedalReport report = protocol::BuildReadRequest(p);
      std::uint32_t written = 0;
      const bool sent = current_->WriteReport(report.data(), static_cast<std::uint32_t>(report.size()), written);
      const bool complete = hid::ReportWriteComplete(sent, written, static_cast<std::uint32_t>(report.size()));
      lastRequestError_ = complete ? 0 : (current_->LastWriteError() != 0 ? current_->LastWriteError() : EIO);
      if (lastRequestError_ == ENODEV) gone_ = true;
      if (gone_) return answers_;
      Serve([this] { return gone_; }, std::min(Clock::now() + kReportPause, deadline));
    }
    const auto next = std::min(Clock::now() + wait, deadline);
    wait = std::min<std::chrono::milliseconds>(wait * 2, kAskAgainAfter);
    if (Serve(allAnsweredOrGone, next) || Clock::now() >= deadline) break;
  }
  return answers_;
}

WriteOutcome PedalSession::Write(int pedalIndex, const PedalBytes& bytes) {
  WriteOutcome outcome;
  if (current_ == nullptr) {
    outcome.error = ENODEV;
    return outcome;
  }
  protocol::PedalConfigTable table;
  table.SetRowBytes(pedalIndex, bytes);
  const protocol::PedalReport report = protocol::BuildWriteReport(table, pedalIndex);
  std::uint32_t written = 0;
  const bool ok = current_->WriteReport(report.data(), static_cast<std::uint32_t>(report.size()), written);
  outcome.written = ok ? written : 0;
  outcome.ok = hid::ReportWriteComplete(ok, written, static_cast<std::uint32_t>(report.size()));
  if (!outcome.ok) outcome.error = !ok ? current_->LastWriteError() : EIO;
  if (!ok && outcome.error == 0) outcome.error = EIO;
  if (!ok) outcome.nativeError = current_->LastWriteNativeError();
  Serve([] { return false; }, Clock::now() + kReportPause);
  return outcome;
}

void PedalSession::OnArrival(hid::THidDevice* device) {
  if (!watchLine_ || !IsPedal(device)) return;
  knownPedals_.push_back(device->DevicePath());
  ++watchEvents_;
  watchLine_("arrived " + device->DevicePath());
}

void PedalSession::OnRemoval(hid::THidDevice* device) {
  if (current_ != nullptr && device->DevicePath() == current_->DevicePath()) {
    gone_ = true;
    queue_.Notify();
  }
  if (!watchLine_) return;
  const auto it = std::find(knownPedals_.begin(), knownPedals_.end(), device->DevicePath());
  if (it == knownPedals_.end()) return;
  knownPedals_.erase(it);
  ++watchEvents_;
  watchLine_("removed " + device->DevicePath());
}

int PedalSession::Watch(int count, std::chrono::milliseconds timeout,
                        const std::function<void(const std::string&)>& line, const std::function<void()>& ready) {
  knownPedals_.clear();
  for (const PedalInfo& p : Pedals()) knownPedals_.push_back(p.path);
  watchEvents_ = 0;
  watchLine_ = line;
  if (ready) ready();
  Serve([&] { return watchEvents_ >= count; }, Clock::now() + timeout);
  watchLine_ = nullptr;
  return watchEvents_;
}

}  // namespace cli
