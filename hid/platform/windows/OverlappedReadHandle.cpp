#include "hid/platform/windows/OverlappedReadHandle.h"

#include <cerrno>

#include "hid/platform/windows/Win32Error.h"

namespace hid::platform::windows {

std::shared_ptr<OverlappedReadHandle> OverlappedReadHandle::Open(const std::string& path, int* error,
                                                                 std::string* text,
                                                                 std::shared_ptr<RemovalRequests> removals) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OVERLAPPED, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (error != nullptr) *error = ErrnoFromWin32(code);
    if (text != nullptr) *text = Win32ErrorText("opening " + path + " for reading", code);
    return nullptr;
  }
  HANDLE io = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE interrupt = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE close = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (io == nullptr || interrupt == nullptr || close == nullptr) {
    const DWORD code = GetLastError();
    for (HANDLE h : {io, interrupt, close}) {
      if (h != nullptr) CloseHandle(h);
    }
    CloseHandle(file);
    if (error != nullptr) *error = ErrnoFromWin32(code);
    if (text != nullptr) *text = Win32ErrorText("making the read events for " + path, code);
    return nullptr;
  }
  if (error != nullptr) *error = 0;
  std::shared_ptr<OverlappedReadHandle> handle(new OverlappedReadHandle(file, path, io, interrupt, close));
  if (removals) {
    handle->removals_ = std::move(removals);
    handle->watch_ = handle->removals_->Watch(file, [raw = handle.get()] {
      {
        std::lock_guard lock(raw->mutex_);
        raw->removed_ = true;
      }
      raw->CloseFile();
    });
  }
  return handle;
}

OverlappedReadHandle::OverlappedReadHandle(HANDLE file, std::string path, HANDLE ioEvent, HANDLE interruptEvent,
                                           HANDLE closeEvent)
    : path_(std::move(path)),
      openedFile_(file),
      ioEvent_(ioEvent),
      interruptEvent_(interruptEvent),
      closeEvent_(closeEvent),
      file_(file) {}

OverlappedReadHandle::~OverlappedReadHandle() {
  if (removals_) removals_->Unwatch(watch_);  // first: no close for removal after this
  // Nobody else holds the handle now; a read still outstanding is ended
  // before the OVERLAPPED record goes.
  if (pending_) {
    CancelIoEx(file_, &overlapped_);
    DWORD n = 0;
    GetOverlappedResult(file_, &overlapped_, &n, TRUE);
  }
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  CloseHandle(ioEvent_);
  CloseHandle(interruptEvent_);
  CloseHandle(closeEvent_);
}

void OverlappedReadHandle::CloseFileLocked() {
  if (file_ == INVALID_HANDLE_VALUE) return;
  CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

void OverlappedReadHandle::SetErrorLocked(int error, std::string text, DWORD code) {
  lastError_ = error;
  lastCode_ = code;
  errorText_ = std::move(text);
}

bool OverlappedReadHandle::Pending() const {
  std::lock_guard lock(mutex_);
  return pending_;
}

bool OverlappedReadHandle::StartRead(std::uint8_t* buffer, std::uint32_t length) {
  std::lock_guard lock(mutex_);
  if (closed_ && removed_) {
    SetErrorLocked(ENODEV, Win32ErrorText("reading " + path_ + " (closed for the device's removal)",
                                          ERROR_DEVICE_REMOVED),
                   ERROR_DEVICE_REMOVED);
    return false;
  }
  if (closed_) {
    SetErrorLocked(EBADF, "reading " + path_ + ": the handle is closed");
    return false;
  }
  if (pending_) {
    SetErrorLocked(EBUSY, "reading " + path_ + ": a read is outstanding");
    return false;
  }
  if (buffer == nullptr || length == 0) {
    SetErrorLocked(EINVAL, "reading " + path_ + ": no buffer");
    return false;
  }
  done_ = false;  // a result not taken is dropped
  overlapped_ = OVERLAPPED{};
  overlapped_.hEvent = ioEvent_;
  // A read that completes at once signals the event as well.
  if (!ReadFile(file_, buffer, length, nullptr, &overlapped_)) {
    const DWORD code = GetLastError();
    if (code != ERROR_IO_PENDING) {
      SetErrorLocked(ErrnoFromWin32(code), Win32ErrorText("ReadFile on " + path_, code), code);
      return false;
    }
  }
  pending_ = true;
  return true;
}

WaitResult OverlappedReadHandle::Wait(std::uint32_t timeoutMs) {
  if (!Pending()) return WaitResult::IoCompletion;
  const HANDLE events[] = {ioEvent_, interruptEvent_, closeEvent_};
  const DWORD timeout = timeoutMs == kInfiniteWait ? INFINITE : timeoutMs;
  const DWORD woken = WaitForMultipleObjectsEx(3, events, FALSE, timeout, FALSE);
  switch (woken) {
    case WAIT_TIMEOUT:
      return WaitResult::Timeout;
    case WAIT_OBJECT_0 + 1:
      return WaitResult::Interrupted;
    case WAIT_OBJECT_0:
      Finish(false);
      return WaitResult::IoCompletion;
    default:  // closed (Close has cancelled the read already), or the wait itself failed
      Finish(true);
      return WaitResult::IoCompletion;
  }
}

void OverlappedReadHandle::Finish(bool cancel) {
  // file_ stays open while pending_ is set: no lock needed to use it here.
  if (cancel) CancelIoEx(file_, &overlapped_);
  DWORD count = 0;
  const BOOL ok = GetOverlappedResult(file_, &overlapped_, &count, TRUE);
  const DWORD code = ok ? ERROR_SUCCESS : GetLastError();
  std::lock_guard lock(mutex_);
  pending_ = false;
  done_ = true;
  ok_ = ok && !closed_;  // a read ended by Close delivers nothing
  count_ = ok_ ? count : 0;
  if (!ok) SetErrorLocked(ErrnoFromWin32(code), Win32ErrorText("reading " + path_, code), code);
  if (closed_) CloseFileLocked();
}

bool OverlappedReadHandle::GetResult(std::uint32_t* count) {
  std::lock_guard lock(mutex_);
  *count = 0;
  if (!done_) {
    SetErrorLocked(pending_ ? EINPROGRESS : EINVAL, "reading " + path_ + ": no read has ended");
    return false;
  }
  done_ = false;
  if (!ok_) return false;
  *count = count_;
  return true;
}

bool OverlappedReadHandle::Cancel() {
  if (Pending()) Finish(true);
  std::lock_guard lock(mutex_);
  done_ = false;
  if (closed_) {
    SetErrorLocked(EBADF, "cancelling a read on " + path_ + ": the handle is closed");
    return false;
  }
  return true;
}

void OverlappedReadHandle::Interrupt() { SetEvent(interruptEvent_); }

void OverlappedReadHandle::Close() {
  // Unwatched before the file closes, as the system asks, and so that a new
  // handle given the same value is not taken for this one.
  if (removals_) removals_->Unwatch(watch_);
  CloseFile();
}

void OverlappedReadHandle::CloseFile() {
  std::lock_guard lock(mutex_);
  if (closed_) return;
  closed_ = true;
  if (pending_) {
    CancelIoEx(file_, &overlapped_);  // the reader ends it and closes the file
  } else {
    CloseFileLocked();
  }
  SetEvent(closeEvent_);
}

int OverlappedReadHandle::LastError() const {
  std::lock_guard lock(mutex_);
  return lastError_;
}

std::uint32_t OverlappedReadHandle::NativeError() const {
  std::lock_guard lock(mutex_);
  return lastCode_;
}

std::string OverlappedReadHandle::ErrorText() const {
  std::lock_guard lock(mutex_);
  return errorText_;
}

}  // namespace hid::platform::windows
