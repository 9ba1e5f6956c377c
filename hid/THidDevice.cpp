#include "hid/THidDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "hid/MainThreadQueue.h"
#include "hid/THidDeviceController.h"
#include "hid/THidDeviceReadThread.h"

namespace hid {

namespace {

// String buffers as the platform fills them: 508 bytes, 254 UTF-16 units.
constexpr std::uint32_t kStringUnits = 254;
constexpr std::uint32_t kStringBytes = kStringUnits * sizeof(platform::WideChar);

// Counts a handler of the device while it runs, also when it throws.
struct HandlerScope {
  explicit HandlerScope(int& count) : count_(count) { ++count_; }
  ~HandlerScope() { --count_; }
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;
  int& count_;
};

std::u16string TextOf(const platform::WideChar* units) {
  std::size_t n = 0;
  while (n < kStringUnits && units[n] != 0) ++n;
  return std::u16string(units, n);
}

}  // namespace

THidDevice::THidDevice(const THidPnPInfo& pnp, THidDeviceController* controller)
    : controller_(controller), backend_(&controller->Backend()), queue_(&controller->Queue()), pnp_(pnp) {
  SetDataHandler(controller->OnDeviceData());  // starts nothing: not checked out
  unplugHandler_ = controller->OnDeviceUnplug();
  int error = 0;
  main_ = OpenDevice(&error);
  if (!main_) throw EControllerError(EControllerError::kCannotOpen);
  platform::HIDD_ATTRIBUTES attributes;
  attributes.Size = 12;
  if (!main_->GetAttributes(attributes)) {
    main_.reset();
    throw EControllerError(EControllerError::kCannotIdentify);
  }
  attributes_ = attributes;
  CloseMainHandle();
}

THidDevice::~THidDevice() {
#ifndef NDEBUG
  // Forbidden (see the header): whoever runs the handler goes on using the
  // device, and a stop of the reader from inside its own hand-off never ends.
  if (inCallback_.load() || runningHandlers_ > 0) {
    std::fputs("THidDevice deleted inside an event or report handler running for that device\n", stderr);
    std::abort();
  }
#endif
  const THidDataEvent data = dataHandler_;
  const THidPlugEvent unplug = unplugHandler_;
  SetDataHandler(THidDataEvent());
  unplugHandler_ = THidPlugEvent();
  CloseMainHandle();
  write_.reset();
  CloseOverlappedHandle();
  preparsed_.reset();
  if (controller_ != nullptr) controller_->GiveBack(this, data, unplug, ReaderWaitTime());
}

bool THidDevice::MayAccess() const { return present_.load() && (checkedOut_.load() || inCallback_.load()); }

std::unique_ptr<platform::DeviceHandle> THidDevice::OpenDevice(int* error) {
  int rwError = 0;
  std::uint32_t rwNative = 0;
  auto handle = backend_->Open(pnp_.DevicePath, true, &rwError, &rwNative);
  readWriteAccess_ = handle != nullptr;
  readWriteOpenError_ = handle ? 0 : rwError;
  readWriteOpenNativeError_ = handle ? 0 : rwNative;
  if (!handle) handle = backend_->Open(pnp_.DevicePath, false, error);
  return handle;
}

bool THidDevice::OpenMainHandle() {
  if (MayAccess() && !main_) {
    int error = 0;
    main_ = OpenDevice(&error);
    if (!main_) lastOpenError_ = error != 0 ? error : ENODEV;
  }
  return main_ != nullptr;
}

bool THidDevice::OpenOverlappedHandle(int* error) {
  std::lock_guard lock(readMutex_);
  if (!MayAccess()) {
    *error = present_.load() ? EPERM : ENODEV;
    return false;
  }
  if (!read_) read_ = backend_->OpenRead(pnp_.DevicePath, error);
  return read_ != nullptr;
}

void THidDevice::CloseMainHandle() { main_.reset(); }

void THidDevice::CloseOverlappedHandle() {
  std::shared_ptr<platform::ReadHandle> handle;
  {
    std::lock_guard lock(readMutex_);
    handle.swap(read_);
  }
  // The reader may still hold the handle; Close is safe against it and ends
  // its wait with a 0-byte result.
  if (handle) handle->Close();
}

void THidDevice::FetchPreparsedData() {
  if (preparsed_ || !OpenMainHandle()) return;
  platform::HIDP_CAPS caps;
  if (main_->GetCaps(caps)) preparsed_ = caps;
  CloseMainHandle();
}

void THidDevice::ReadCaps(platform::HIDP_CAPS& caps) {
  caps = platform::HIDP_CAPS();
  FetchPreparsedData();
  if (preparsed_) caps = *preparsed_;
}

std::u16string THidDevice::ProductText() {
  if (productText_.empty() && OpenMainHandle()) {
    platform::WideChar buffer[kStringUnits] = {};
    if (main_->GetProductString(buffer, kStringBytes)) productText_ = TextOf(buffer);
    CloseMainHandle();
  }
  return productText_;
}

std::u16string THidDevice::SerialText() {
  if (serialText_.empty() && OpenMainHandle()) {
    platform::WideChar serial[kStringUnits] = {};
    if (main_->GetSerialNumberString(serial, kStringBytes)) {
      // Some devices answer the serial request with their language list
      // (string 0). Compare against it over its length; equal means no serial.
      // Where string 0 cannot be read (some drivers refuse the request), the
      // serial string is taken as it is.
      platform::WideChar languages[kStringUnits];
      std::fill(std::begin(languages), std::end(languages), platform::WideChar(0xFFFF));
      std::uint32_t n = 0;
      if (!main_->GetIndexedString(0, languages, kStringBytes)) {
        serialText_ = TextOf(serial);
      } else {
        for (std::uint32_t k = kStringUnits; k-- > 0;) {
          if (languages[k] == 0xFFFF) continue;
          n = languages[k] == 0 ? k : k + 1;
          break;
        }
      }
      for (std::uint32_t i = 0; i < n; ++i) {
        if (serial[i] != languages[i]) {
          serialText_ = TextOf(serial);
          break;
        }
      }
    }
    CloseMainHandle();
  }
  return serialText_;
}

bool THidDevice::WriteReport(const std::uint8_t* data, std::uint32_t length, std::uint32_t& written) {
  lastWriteNativeError_ = 0;
  if (!OpenMainHandle()) {
    lastWriteError_ = !MayAccess() ? (present_.load() ? EPERM : ENODEV) : lastOpenError_;
    if (MayAccess()) lastWriteNativeError_ = readWriteOpenNativeError_;
    return false;
  }
  std::uint32_t done = 0;
  const bool ok = main_->Write(data, length, &done);
  written = done;
  if (ok) {
    lastWriteError_ = 0;
  } else if (!readWriteAccess_ && readWriteOpenError_ != 0) {
    // Opened without rights: the refused open tells the reason better than the write.
    lastWriteError_ = readWriteOpenError_;
    lastWriteNativeError_ = readWriteOpenNativeError_;
  } else {
    lastWriteError_ = main_->LastError() != 0 ? main_->LastError() : EIO;
    lastWriteNativeError_ = main_->NativeError();
  }
  return ok;
}

std::shared_ptr<platform::DeviceHandle> THidDevice::WriteHandle(int& error, std::uint32_t* nativeError) {
  error = 0;
  std::uint32_t native = 0;
  if (!MayAccess()) {
    error = present_.load() ? EPERM : ENODEV;
  } else if (!write_) {
    int rwError = 0;
    write_ = backend_->Open(pnp_.DevicePath, true, &rwError, &native);
    if (!write_) error = rwError != 0 ? rwError : EACCES;
  }
  if (nativeError != nullptr) *nativeError = write_ ? 0 : native;
  return write_;
}

void THidDevice::SetReaderWaitTime(std::uint32_t ms) {
  if (ms >= 10 && ms <= 10000) readerWaitTime_.store(ms);
}

void THidDevice::SetDataHandler(const THidDataEvent& handler) {
  if (!handler) StopReader();
  dataHandler_ = handler;
  StartReader();
}

void THidDevice::StartReader() {
  if (dataHandler_ && present_.load() && checkedOut_.load() && readWriteAccess_ && !reader_) {
    // Open the read handle here, before the caller can send a request: a
    // hidraw node hands each report only to the handles open when it arrives,
    // so an answer to a request sent right after check-out would otherwise be
    // lost while the new thread is still on its way to its first read. A
    // failure is left to the reader, which reports it and tries again.
    int error = 0;
    OpenOverlappedHandle(&error);
    reader_ = std::make_unique<THidDeviceReadThread>(*this, *queue_);
    reader_->Start();
  }
}

void THidDevice::StopReader() {
  if (!reader_) return;
  reader_->StopAndJoin();
  reader_.reset();
}

void THidDevice::MarkUnplugged() {
  // Not present first: the reader checks it under readMutex_ before it opens,
  // so no read handle can be opened after the close below.
  present_.store(false);
  CloseMainHandle();
  write_.reset();
  CloseOverlappedHandle();
  if (unplugHandler_) {
    struct Clear {
      THidPlugEvent& h;
      ~Clear() { h = THidPlugEvent(); }
    } clear{unplugHandler_};
    HandlerScope running(runningHandlers_);
    unplugHandler_(this);
  }
}

std::shared_ptr<platform::ReadHandle> THidDevice::StartOverlappedRead(std::uint8_t* buffer, std::uint32_t length,
                                                                     int* error) {
  if (length == 0) {
    *error = EINVAL;  // no input reports to read
    return nullptr;
  }
  if (!OpenOverlappedHandle(error)) {
    if (*error == 0) *error = ENODEV;
    return nullptr;
  }
  std::shared_ptr<platform::ReadHandle> handle;
  {
    std::lock_guard lock(readMutex_);
    handle = read_;
  }
  if (!handle) {  // closed meanwhile
    *error = ENODEV;
    return nullptr;
  }
  if (!handle->StartRead(buffer, length)) {
    *error = handle->LastError() != 0 ? handle->LastError() : EIO;
    return nullptr;
  }
  return handle;
}

void THidDevice::DeliverReport(const std::uint8_t* buffer, std::uint32_t count) {
  // A report that was read before the device was marked unplugged is dropped.
  if (!present_.load() || !dataHandler_) return;
  if (controller_ != nullptr) controller_->ReadSucceeded(pnp_.DeviceInstance);
  HandlerScope running(runningHandlers_);
  dataHandler_(this, buffer[0], buffer + 1, static_cast<std::uint16_t>(count - 1));
}

void THidDevice::DeliverError(std::uint32_t error) {
  // Final: the device answers no more through this object, though no device
  // notification may have said so. The controller rescans for a fresh one.
  if (error == ENODEV && controller_ != nullptr) controller_->ReadEnded(this);
  if (!dataErrorHandler_) return;
  HandlerScope running(runningHandlers_);
  dataErrorHandler_(this, error);
}

}  // namespace hid
