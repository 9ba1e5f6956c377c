// One HID device interface found by the controller's scan.
//
// The controller makes one object per interface it can open and identify and
// keeps it in its device list. The object opens the device only while an
// operation needs it and only while it may (present, and checked out or inside
// a controller event for it); at rest it holds no open handle.
//
// Owners: an available device belongs to the controller. CheckOutAt /
// CheckOutFirstMatch hand it to the caller, who gives it back with `delete`:
// a fresh available object then takes its place in the controller's list
// (same data handler, unplug handler and wait time), or the entry goes when
// the device is no longer attached. Deleting works after the controller is
// gone as well. Do not delete a device, nor clear its data handler, inside an
// event or report handler running for that same device: stopping its reader
// waits for the hand-off that is running the handler, and the code that runs
// the handler goes on using the device. Debug builds abort on such a delete.
//
// Everything here runs on the main thread, except the reader thread that a
// checked-out device with a data handler runs (THidDeviceReadThread).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "hid/EControllerError.h"
#include "hid/HidEvents.h"
#include "hid/THidPnPInfo.h"
#include "hid/platform/HidPlatform.h"

namespace hid {

class MainThreadQueue;
class THidDeviceReadThread;

class THidDevice {
 public:
  // Opens the device (read/write, else without access rights) and reads its
  // attributes; raises EControllerError when it cannot be opened or identified.
  THidDevice(const THidPnPInfo& pnp, THidDeviceController* controller);
  // Gives the device back to its controller (see above).
  ~THidDevice();
  THidDevice(const THidDevice&) = delete;
  THidDevice& operator=(const THidDevice&) = delete;

  // Attributes, read at creation.
  std::uint16_t VendorID() const { return attributes_.VendorID; }
  std::uint16_t ProductID() const { return attributes_.ProductID; }
  std::uint16_t VersionNumber() const { return attributes_.VersionNumber; }
  const THidPnPInfo& PnPInfo() const { return pnp_; }
  const std::string& DevicePath() const { return pnp_.DevicePath; }

  bool Present() const { return present_.load(); }
  bool CheckedOut() const { return checkedOut_.load(); }
  bool InCallback() const { return inCallback_.load(); }
  // Present and (checked out or inside a controller event for it): the
  // condition for opening any handle.
  bool MayAccess() const;
  // Whether the main handle was last opened with read and write access.
  bool ReadWriteAccess() const { return readWriteAccess_; }
  // errno-style reason why the last open with read and write access was
  // refused; 0 when it was not.
  int ReadWriteOpenError() const { return readWriteOpenError_; }
  // The platform's own code for that refusal (the Win32 error); 0 where it
  // has none.
  std::uint32_t ReadWriteOpenNativeError() const { return readWriteOpenNativeError_; }

  // Capabilities (report lengths, report id byte included). The report
  // description is fetched once and kept; without it the record is zero.
  void ReadCaps(platform::HIDP_CAPS& caps);
  // Product and serial-number strings as UTF-16. A text once read is kept;
  // an empty one is asked for again. A serial that merely repeats the
  // device's language list is no serial (empty).
  std::u16string ProductText();
  std::u16string SerialText();

  // One synchronous write of `length` bytes (report id first). False when the
  // device may not be opened (written untouched) or the write failed. The main
  // handle stays open after a write.
  bool WriteReport(const std::uint8_t* data, std::uint32_t length, std::uint32_t& written);
  // The handle a ReportWriter writes through: opened with read and write
  // access at the first use and kept until the device goes or is given back
  // (a write under way keeps it open until it ends). Null when the device may
  // not be written, with the reason in `error` as for LastWriteError and the
  // platform's own code for it in *nativeError (0 where there is none).
  std::shared_ptr<platform::DeviceHandle> WriteHandle(int& error, std::uint32_t* nativeError = nullptr);
  // errno-style reason of the last failed WriteReport (0 when none failed).
  // EACCES / EPERM: the device was opened without access rights.
  int LastWriteError() const { return lastWriteError_; }
  // The platform's own code behind LastWriteError (0 where there is none).
  std::uint32_t LastWriteNativeError() const { return lastWriteNativeError_; }

  // The reader's pause before it tries again after a read that could not
  // start or ended without data; 10..10000 ms, default 100. (The reader
  // waits for reports without a time limit.)
  std::uint32_t ReaderWaitTime() const { return readerWaitTime_.load(); }
  void SetReaderWaitTime(std::uint32_t ms);

  const THidDataEvent& DataHandler() const { return dataHandler_; }
  const THidDataErrorEvent& DataErrorHandler() const { return dataErrorHandler_; }
  const THidPlugEvent& UnplugHandler() const { return unplugHandler_; }
  // An empty handler stops the reader first; a set one starts it where allowed.
  void SetDataHandler(const THidDataEvent& handler);
  void SetDataErrorHandler(const THidDataErrorEvent& handler) { dataErrorHandler_ = handler; }
  void SetUnplugHandler(const THidPlugEvent& handler) { unplugHandler_ = handler; }

  // Starts the reader if the data handler is set, the device is present,
  // checked out and opened with read and write access, and none runs yet.
  void StartReader();
  // Stops the reader and waits for its end, serving its hand-offs meanwhile.
  void StopReader();
  bool ReaderRunning() const { return reader_ != nullptr; }

  THidDeviceController* Controller() const { return controller_; }

 private:
  friend class THidDeviceController;
  friend class THidDeviceReadThread;

  // Opens with read/write access, else without rights. Returns the handle or null.
  std::unique_ptr<platform::DeviceHandle> OpenDevice(int* error);
  bool OpenMainHandle();
  bool OpenOverlappedHandle(int* error);
  void CloseMainHandle();
  void CloseOverlappedHandle();
  void FetchPreparsedData();
  void MarkUnplugged();

  // Reader thread: starts one read into `buffer`; returns the handle the read
  // runs on (shared, so a concurrent close stays safe), or null with *error.
  std::shared_ptr<platform::ReadHandle> StartOverlappedRead(std::uint8_t* buffer, std::uint32_t length,
                                                            int* error);
  // Main thread, inside the reader's hand-offs.
  void DeliverReport(const std::uint8_t* buffer, std::uint32_t count);
  void DeliverError(std::uint32_t error);

  THidDeviceController* controller_;
  platform::Backend* backend_;
  MainThreadQueue* queue_;
  std::atomic<bool> present_{true};
  std::atomic<bool> checkedOut_{false};
  std::atomic<bool> inCallback_{false};
  std::unique_ptr<platform::DeviceHandle> main_;
  std::shared_ptr<platform::DeviceHandle> write_;  // used by a ReportWriter's thread only
  mutable std::mutex readMutex_;  // guards read_ against the reader thread
  std::shared_ptr<platform::ReadHandle> read_;
  platform::HIDD_ATTRIBUTES attributes_;
  THidPnPInfo pnp_;
  std::u16string productText_;
  std::optional<platform::HIDP_CAPS> preparsed_;
  std::u16string serialText_;
  std::atomic<std::uint32_t> readerWaitTime_{100};
  THidDataEvent dataHandler_;
  THidDataErrorEvent dataErrorHandler_;
  THidPlugEvent unplugHandler_;
  bool finalReadError_ = false;  // its reads ended with ENODEV while it was listed
  bool readWriteAccess_ = false;
  int readWriteOpenError_ = 0;  // why the last read/write open was refused
  std::uint32_t readWriteOpenNativeError_ = 0;
  int lastOpenError_ = 0;
  int lastWriteError_ = 0;
  std::uint32_t lastWriteNativeError_ = 0;
  int runningHandlers_ = 0;  // unplug, data and data-error handlers running now
  std::unique_ptr<THidDeviceReadThread> reader_;
};

}  // namespace hid
