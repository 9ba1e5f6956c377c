// The read handle: a HID interface opened for overlapped reading, one read at
// a time. Wait ends when the read completes (its event), on Interrupt (an
// event of its own), on Close (another) or at the timeout.
//
// Closing from another thread while the reader waits is safe: Close cancels
// the outstanding read (CancelIoEx), and the file is closed only once no read
// is outstanding, by whichever thread sees that last, so the reader never
// calls into a closed (and perhaps reused) handle and its buffer is never
// written after the read has ended. When the system asks to remove the
// device (RemovalRequests), the handle is closed the same way, and later
// reads fail with ENODEV.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "hid/platform/HidPlatform.h"
#include "hid/platform/windows/RemovalRequests.h"
#include "hid/platform/windows/Win32.h"

namespace hid::platform::windows {

class OverlappedReadHandle final : public ReadHandle {
 public:
  // nullptr when the interface cannot be opened; *error (errno-style) and
  // *text say why.
  // Watched by `removals` (when given) while it is open.
  static std::shared_ptr<OverlappedReadHandle> Open(const std::string& path, int* error, std::string* text,
                                                    std::shared_ptr<RemovalRequests> removals = nullptr);
  ~OverlappedReadHandle() override;
  OverlappedReadHandle(const OverlappedReadHandle&) = delete;
  OverlappedReadHandle& operator=(const OverlappedReadHandle&) = delete;

  bool StartRead(std::uint8_t* buffer, std::uint32_t length) override;
  WaitResult Wait(std::uint32_t timeoutMs) override;
  bool GetResult(std::uint32_t* count) override;
  bool Cancel() override;
  void Interrupt() override;
  void Close() override;
  int LastError() const override;
  std::uint32_t NativeError() const override;
  // The last failure as text, with the system's message.
  std::string ErrorText() const;
  // The file handle, as device notifications name it (also once closed).
  HANDLE File() const { return openedFile_; }

 private:
  OverlappedReadHandle(HANDLE file, std::string path, HANDLE ioEvent, HANDLE interruptEvent, HANDLE closeEvent);
  bool Pending() const;
  // Reader thread, a read outstanding: waits until it has ended (cancelling
  // it first when asked) and keeps its result.
  void Finish(bool cancel);
  void CloseFileLocked();
  // Close without ending the watch (the watch's own close).
  void CloseFile();
  void SetErrorLocked(int error, std::string text, DWORD code = ERROR_SUCCESS);

  const std::string path_;
  const HANDLE openedFile_;
  std::shared_ptr<RemovalRequests> removals_;
  std::uint64_t watch_ = 0;
  HANDLE ioEvent_;         // OVERLAPPED.hEvent, manual reset
  HANDLE interruptEvent_;  // auto reset: wakes one Wait
  HANDLE closeEvent_;      // manual reset: set for good by Close

  mutable std::mutex mutex_;
  HANDLE file_;            // INVALID_HANDLE_VALUE once closed
  OVERLAPPED overlapped_{};
  bool pending_ = false;   // a read is outstanding (set and cleared by the reader)
  bool closed_ = false;
  bool removed_ = false;   // closed for the device's removal
  bool done_ = false;      // a read has ended and its result not yet taken (the next read drops it)
  bool ok_ = false;
  std::uint32_t count_ = 0;
  int lastError_ = 0;
  DWORD lastCode_ = ERROR_SUCCESS;  // the Win32 error behind lastError_, where there is one
  std::string errorText_;
};

}  // namespace hid::platform::windows
