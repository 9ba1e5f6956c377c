// One fake HID device on a FakeHidTestbed: answers the raw-info and
// descriptor ioctls of the fds open on it, records every report written to
// it and sends input reports to its fds (FakeHidNode keeps them per fd, as
// hidraw does).
//
// The handlers run on the testbed's worker thread; every member is
// thread-safe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "hid/platform/linux/tests/FakeDeviceDescription.h"

struct _UMockdevIoctlClient;

namespace hid::platform::linux_::fakes {

class FakeHidNode;

class FakeHidDevice {
 public:
  using Report = std::vector<std::uint8_t>;

  const FakeDeviceDescription& description() const { return description_; }
  const std::string& devnode() const;                            // "/dev/hidraw3"
  const std::string& syspath() const { return syspath_; }        // the hidraw device, "/sys/devices/..."
  const std::string& hidSyspath() const { return hidSyspath_; }  // its hid parent

  // Sends one input report to every fd open on the device now. `report` is
  // what a hidraw read() returns: the report id first for a device that uses
  // report ids, the data alone for a device without them.
  void SendInput(const Report& report);
  // The output reports written to the node so far, in order.
  std::vector<Report> Written() const;
  // Waits until at least `count` reports were written; false on timeout.
  bool WaitForWritten(std::size_t count, std::chrono::milliseconds timeout) const;
  // Called on the worker thread for every report written to the node.
  void OnWrite(std::function<void(const Report&)> handler);
  // How often an ioctl with this request number reached the device.
  std::size_t IoctlCalls(unsigned long request) const;
  // Mode 000 on the node (refused) or 0666. A process running as root also
  // needs ScopedFileModeEnforcement for the mode to refuse anything.
  void SetAccessRefused(bool refused);
  bool plugged() const;

  // Made by FakeHidTestbed.
  FakeHidDevice(FakeDeviceDescription description, FakeHidNode& node, std::string syspath, std::string hidSyspath);
  FakeHidDevice(const FakeHidDevice&) = delete;
  FakeHidDevice& operator=(const FakeHidDevice&) = delete;

 private:
  friend class FakeHidTestbed;
  friend class FakeHidNode;

  FakeHidNode& node() const { return node_; }
  void MarkUnplugged();
  // Worker thread, for an fd bound to this device. AnswerIoctl returns false
  // for requests a hidraw node does not know.
  bool AnswerIoctl(_UMockdevIoctlClient* client);
  void TakeWrite(_UMockdevIoctlClient* client, const Report& report);

  const FakeDeviceDescription description_;
  FakeHidNode& node_;
  const std::string syspath_;
  const std::string hidSyspath_;

  mutable std::mutex mutex_;
  mutable std::condition_variable written_cv_;
  bool plugged_ = true;
  std::vector<Report> written_;
  std::mutex callbackMutex_;  // held while onWrite_ runs; taken before mutex_
  std::function<void(const Report&)> onWrite_;
  std::map<unsigned long, std::size_t> ioctls_;
};

}  // namespace hid::platform::linux_::fakes
