// The platform HID and device-setup services behind one small interface.
//
// Three bindings implement it: linux/ (libudev loaded at run time + hidraw),
// windows/ (setupapi.dll and hid.dll loaded at run time, overlapped reads) and
// virtual/ (an in-process bus for tests and the demo). Nothing above this header
// knows which one runs. The operations mirror what the device layer needs:
// a snapshot of the present HID interfaces, opening an interface with or without
// access rights, attributes, capabilities, strings, a synchronous write, a read
// that can be started, waited for and cancelled, and device-change notifications.
//
// Failures are plain results (false / nullptr); LastError() of the object that
// failed gives an errno-style code and ErrorText() a readable text with context.
// Where the platform has codes of its own (Win32 errors), NativeError() keeps
// the one behind the errno-style code, for the texts the user reads; 0 where
// there is none.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace hid::platform {

// Stable identity of a device across rescans (the same physical collection
// gives the same number for the life of the process).
using DeviceInstanceId = std::uint32_t;

struct HIDD_ATTRIBUTES {
  std::uint32_t Size = 12;
  std::uint16_t VendorID = 0;
  std::uint16_t ProductID = 0;
  std::uint16_t VersionNumber = 0;
};

// Report lengths in bytes as the platform counts them: the report id byte is
// included (a device without report ids still counts one leading zero byte).
// Zero when the collection has no report of that kind.
struct HIDP_CAPS {
  std::uint16_t Usage = 0;
  std::uint16_t UsagePage = 0;
  std::uint16_t InputReportByteLength = 0;
  std::uint16_t OutputReportByteLength = 0;
  std::uint16_t FeatureReportByteLength = 0;
};

// One entry of a snapshot.
struct InterfaceDetail {
  std::string DevicePath;        // what every open of this interface uses
  DeviceInstanceId DevInst = 0;  // identity across scans
};

// A snapshot of the HID interfaces present when it was taken.
class Snapshot {
 public:
  virtual ~Snapshot() = default;
  // Entry `index` (0, 1, 2, ...); false once the index passes the last one.
  virtual bool EnumDeviceInterface(std::uint32_t index, InterfaceDetail& out) = 0;
};

// Wide strings travel as UTF-16 code units in a caller's buffer, as the
// platform delivers them: at most (bufferBytes / 2) units, zero-terminated when
// shorter. Buffers of 508 bytes (254 units) are what the device layer passes.
using WideChar = char16_t;

// How long DeviceHandle::Write waits for the device to take a report.
constexpr std::uint32_t kWriteTimeLimitMs = 250;

// A synchronous handle on one interface (the "main handle").
class DeviceHandle {
 public:
  virtual ~DeviceHandle() = default;
  virtual bool GetAttributes(HIDD_ATTRIBUTES& out) = 0;
  // The capabilities of this interface's collection ("preparsed data" + caps).
  // False when the report description cannot be had.
  virtual bool GetCaps(HIDP_CAPS& out) = 0;
  virtual bool GetProductString(WideChar* buffer, std::uint32_t bufferBytes) = 0;
  virtual bool GetSerialNumberString(WideChar* buffer, std::uint32_t bufferBytes) = 0;
  // Index 0 is the device's language list (LANGIDs as units).
  virtual bool GetIndexedString(std::uint32_t index, WideChar* buffer, std::uint32_t bufferBytes) = 0;
  // One synchronous write of the whole report (report id as byte 0). The
  // number of bytes written goes to *written (0 on failure). A device that
  // has not taken the report within kWriteTimeLimitMs fails it with
  // ETIMEDOUT.
  virtual bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) = 0;
  virtual int LastError() const = 0;
  virtual std::uint32_t NativeError() const { return 0; }
  virtual std::string ErrorText() const = 0;
};

// A wait time that never runs out: ReadHandle::Wait then ends only on a
// completion, a close or an interrupt (the value of the platform's INFINITE).
constexpr std::uint32_t kInfiniteWait = 0xFFFFFFFFu;

// Result of ReadHandle::Wait.
enum class WaitResult {
  IoCompletion,  // the started read has completed (with data, or aborted)
  Timeout,       // the wait time passed, the read is still outstanding
  Interrupted,   // Interrupt() was called (a stop request); the read is still outstanding
};

// The overlapped read handle. Thread rules: StartRead, Wait, GetResult and
// Cancel are called by the one reader thread; Interrupt and Close may be called
// from any other thread at any time, also while the reader is inside Wait.
class ReadHandle {
 public:
  virtual ~ReadHandle() = default;
  // Starts one read of up to `length` bytes into `buffer` (kept until the read
  // completes or is cancelled). False when it cannot start (handle closed,
  // device gone, a read already outstanding); LastError() tells why.
  virtual bool StartRead(std::uint8_t* buffer, std::uint32_t length) = 0;
  // Waits up to timeoutMs (kInfiniteWait: no limit) for the outstanding read. Ends at once when the read
  // completes, the handle is closed (the read then completes with 0 bytes) or
  // Interrupt() is called. Without an outstanding read: IoCompletion at once.
  virtual WaitResult Wait(std::uint32_t timeoutMs) = 0;
  // Bytes delivered by the completed read; false (and 0) when no read has
  // completed or it failed / was aborted.
  virtual bool GetResult(std::uint32_t* count) = 0;
  // Drops the outstanding read; the buffer is no longer written to.
  virtual bool Cancel() = 0;
  // Wakes a Wait in progress (or the next one) with Interrupted. Thread-safe.
  virtual void Interrupt() = 0;
  // Closes the handle. Thread-safe and idempotent; a Wait in progress ends
  // with IoCompletion and a 0-byte result, later StartRead calls fail.
  virtual void Close() = 0;
  virtual int LastError() const = 0;
  virtual std::uint32_t NativeError() const { return 0; }
};

// Device-change notifications, made on the host's main thread. They reach the
// host in one of two ways:
//  - fd() >= 0: a descriptor that becomes readable when notifications are
//    pending. The host loop watches it and then calls Drain(), which consumes
//    what is pending and says whether the set of HID devices changed (udev;
//    the virtual bus where the platform has eventfd).
//  - fd() == -1: the monitor calls the callback given to SetNotify once per
//    notification (Windows: WM_DEVICECHANGE to a window of the monitor's own,
//    which the thread's message loop dispatches, whoever runs it).
// Drain() never blocks. A monitor that notifies by callback serves there what
// is waiting for it, for hosts without a message loop of their own, and
// returns false: the callback had those notifications.
class Monitor {
 public:
  virtual ~Monitor() = default;
  virtual int fd() const = 0;
  virtual bool Drain() = 0;
  // `notify` may be called on any thread; never after the monitor is gone.
  // Monitors with a descriptor never call it.
  virtual void SetNotify(std::function<void()> notify) { (void)notify; }
};

class Backend {
 public:
  virtual ~Backend() = default;
  // Counted loading of the platform libraries; all-or-nothing resolution.
  // The request that takes the count to 1 loads; later ones succeed at once.
  virtual bool Load() = 0;
  // Lowers the count; at 0 the libraries are freed and their entries forgotten.
  virtual void Release() = 0;
  virtual bool IsLoaded() const = 0;
  // nullptr: nothing to scan (not loaded, or the platform refused).
  virtual std::unique_ptr<Snapshot> GetPresentInterfaces() = 0;
  // Opens the main handle with read and write access, or with no access
  // rights (enough for attributes, caps and strings). nullptr on failure;
  // *error (when given) receives the reason, *nativeError the platform's own
  // code for it (0 where there is none).
  virtual std::unique_ptr<DeviceHandle> Open(const std::string& devicePath, bool readWrite, int* error = nullptr,
                                             std::uint32_t* nativeError = nullptr) = 0;
  // Opens a read handle on the interface. nullptr on failure. Called by the
  // device's reader thread as well as the main thread: must be thread-safe.
  virtual std::shared_ptr<ReadHandle> OpenRead(const std::string& devicePath, int* error = nullptr) = 0;
  // nullptr when notifications cannot be had.
  virtual std::unique_ptr<Monitor> CreateMonitor() = 0;
};

}  // namespace hid::platform
