#include "hid/platform/windows/HidDeviceHandle.h"

#include <cerrno>

#include "hid/platform/windows/Win32Error.h"

namespace hid::platform::windows {

std::unique_ptr<HidDeviceHandle> HidDeviceHandle::Open(std::shared_ptr<const HidLibraries> libs,
                                                       const std::string& path, bool readWrite, int* error,
                                                       std::string* text, std::uint32_t* code,
                                                       std::shared_ptr<RemovalRequests> removals) {
  const DWORD access = readWrite ? GENERIC_READ | GENERIC_WRITE : 0;
  // A handle that writes is overlapped, so that a write can be given up.
  const DWORD flags = readWrite ? FILE_FLAG_OVERLAPPED : 0;
  HANDLE file = CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD why = GetLastError();
    if (error != nullptr) *error = ErrnoFromWin32(why);
    if (code != nullptr) *code = why;
    if (text != nullptr) {
      *text = Win32ErrorText(std::string(readWrite ? "opening " : "opening (no access rights) ") + path, why);
    }
    return nullptr;
  }
  if (error != nullptr) *error = 0;
  if (code != nullptr) *code = ERROR_SUCCESS;
  std::unique_ptr<HidDeviceHandle> handle(new HidDeviceHandle(std::move(libs), file, path, readWrite));
  // Without access rights the handle blocks no removal.
  if (readWrite && removals) {
    handle->removals_ = std::move(removals);
    handle->watch_ = handle->removals_->Watch(file, [raw = handle.get()] { raw->CloseForRemoval(); });
  }
  return handle;
}

HidDeviceHandle::~HidDeviceHandle() {
  if (removals_) removals_->Unwatch(watch_);  // first: no close for removal after this
  if (!removed_) CloseHandle(file_);
}

void HidDeviceHandle::CloseForRemoval() {
  std::lock_guard lock(mutex_);
  if (removed_) return;
  removed_ = true;
  CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

bool HidDeviceHandle::Usable(const char* what) {
  if (!removed_) return true;
  lastError_ = ENODEV;
  lastCode_ = ERROR_DEVICE_REMOVED;
  errorText_ = Win32ErrorText(std::string(what) + " on " + path_ + " (closed for the device's removal)",
                              ERROR_DEVICE_REMOVED);
  return false;
}

bool HidDeviceHandle::Fail(const char* what) {
  const DWORD code = GetLastError();
  lastError_ = ErrnoFromWin32(code);
  lastCode_ = code;
  errorText_ = Win32ErrorText(std::string(what) + " on " + path_, code);
  return false;
}

bool HidDeviceHandle::Succeed() {
  lastError_ = 0;
  lastCode_ = ERROR_SUCCESS;
  errorText_.clear();
  return true;
}

bool HidDeviceHandle::GetAttributes(HIDD_ATTRIBUTES& out) {
  std::lock_guard lock(mutex_);
  if (!Usable("HidD_GetAttributes")) return false;
  ::HIDD_ATTRIBUTES attributes{};
  attributes.Size = sizeof attributes;
  if (!libs_->HidD_GetAttributes(file_, &attributes)) return Fail("HidD_GetAttributes");
  out.Size = attributes.Size;
  out.VendorID = attributes.VendorID;
  out.ProductID = attributes.ProductID;
  out.VersionNumber = attributes.VersionNumber;
  return Succeed();
}

bool HidDeviceHandle::GetCaps(HIDP_CAPS& out) {
  std::lock_guard lock(mutex_);
  if (!Usable("HidD_GetPreparsedData")) return false;
  PHIDP_PREPARSED_DATA preparsed = nullptr;
  if (!libs_->HidD_GetPreparsedData(file_, &preparsed)) return Fail("HidD_GetPreparsedData");
  ::HIDP_CAPS caps{};
  const NTSTATUS status = libs_->HidP_GetCaps(preparsed, &caps);
  libs_->HidD_FreePreparsedData(preparsed);
  if (status != HIDP_STATUS_SUCCESS) {
    lastError_ = EIO;
    lastCode_ = ERROR_SUCCESS;
    errorText_ = "HidP_GetCaps on " + path_ + ": status " + std::to_string(static_cast<unsigned long>(status));
    return false;
  }
  out.Usage = caps.Usage;
  out.UsagePage = caps.UsagePage;
  out.InputReportByteLength = caps.InputReportByteLength;
  out.OutputReportByteLength = caps.OutputReportByteLength;
  out.FeatureReportByteLength = caps.FeatureReportByteLength;
  return Succeed();
}

bool HidDeviceHandle::GetProductString(WideChar* buffer, std::uint32_t bufferBytes) {
  std::lock_guard lock(mutex_);
  if (!Usable("HidD_GetProductString")) return false;
  return libs_->HidD_GetProductString(file_, buffer, bufferBytes) ? Succeed() : Fail("HidD_GetProductString");
}

bool HidDeviceHandle::GetSerialNumberString(WideChar* buffer, std::uint32_t bufferBytes) {
  std::lock_guard lock(mutex_);
  if (!Usable("HidD_GetSerialNumberString")) return false;
  return libs_->HidD_GetSerialNumberString(file_, buffer, bufferBytes) ? Succeed()
                                                                        : Fail("HidD_GetSerialNumberString");
}

bool HidDeviceHandle::GetIndexedString(std::uint32_t index, WideChar* buffer, std::uint32_t bufferBytes) {
  std::lock_guard lock(mutex_);
  if (!Usable("HidD_GetIndexedString")) return false;
  return libs_->HidD_GetIndexedString(file_, index, buffer, bufferBytes) ? Succeed()
                                                                          : Fail("HidD_GetIndexedString");
}

bool HidDeviceHandle::Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) {
  if (written != nullptr) *written = 0;
  std::lock_guard lock(mutex_);
  if (!Usable("WriteFile")) return false;
  DWORD done = 0;
  if (!overlapped_) {
    // Opened without access rights: refused at once.
    const BOOL ok = WriteFile(file_, data, length, &done, nullptr);
    if (written != nullptr) *written = ok ? done : 0;
    return ok ? Succeed() : Fail("WriteFile");
  }
  OVERLAPPED overlapped{};
  overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (overlapped.hEvent == nullptr) return Fail("CreateEvent");
  struct EventCloser {
    HANDLE event;
    ~EventCloser() { CloseHandle(event); }
  } closer{overlapped.hEvent};
  if (!WriteFile(file_, data, length, nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING) {
    return Fail("WriteFile");
  }
  if (WaitForSingleObject(overlapped.hEvent, kWriteTimeLimitMs) != WAIT_OBJECT_0) {
    // Given up: cancelled, and waited for, as the system still holds the
    // buffer and the OVERLAPPED until the cancel completes. A write that
    // completed meanwhile counts.
    CancelIo(file_);
    if (!GetOverlappedResult(file_, &overlapped, &done, TRUE)) {
      lastError_ = ETIMEDOUT;
      lastCode_ = ERROR_SUCCESS;
      errorText_ = "WriteFile on " + path_ + ": the device did not take the report within " +
                   std::to_string(kWriteTimeLimitMs) + " ms";
      return false;
    }
  } else if (!GetOverlappedResult(file_, &overlapped, &done, FALSE)) {
    return Fail("WriteFile");
  }
  if (written != nullptr) *written = done;
  return Succeed();
}

}  // namespace hid::platform::windows
