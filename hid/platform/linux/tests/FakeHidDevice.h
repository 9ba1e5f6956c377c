// One fake hidraw device on a FakeHidTestbed: answers the raw-info and
// descriptor ioctls, records every report written to its node and hands out
// the input reports queued with SendInput, one report per read.
//
// The node is a PTY underneath; the fake writes one byte into its master per
// queued report so that poll() on the node tells the truth, and consumes one
// such byte per report read, so report boundaries stay intact. All readers of
// the node share one queue (a real hidraw node gives every open fd its own
// copy of each report).
//
// The handlers run on the testbed's worker thread; every member is
// thread-safe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "hid/platform/linux/tests/FakeDeviceDescription.h"

struct _UMockdevIoctlBase;
struct _UMockdevIoctlClient;

namespace hid::platform::linux_::fakes {

class FakeHidDevice {
 public:
  using Report = std::vector<std::uint8_t>;

  const FakeDeviceDescription& description() const { return description_; }
  const std::string& devnode() const { return devnode_; }        // "/dev/hidraw3"
  const std::string& syspath() const { return syspath_; }        // the hidraw device, "/sys/devices/..."
  const std::string& hidSyspath() const { return hidSyspath_; }  // its hid parent

  // Queues one input report; the next read of the node returns it.
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
  FakeHidDevice(FakeDeviceDescription description, std::string devnode, std::string syspath, std::string hidSyspath,
                std::string rootDir);
  ~FakeHidDevice();
  FakeHidDevice(const FakeHidDevice&) = delete;
  FakeHidDevice& operator=(const FakeHidDevice&) = delete;

 private:
  friend class FakeHidTestbed;

  // The testbed's side of the node: the PTY master and a reader of its own.
  void AttachNode(int master);
  void MarkUnplugged();
  void Wake();

  static int HandleIoctl(_UMockdevIoctlBase* base, _UMockdevIoctlClient* client, void* self);
  static int HandleRead(_UMockdevIoctlBase* base, _UMockdevIoctlClient* client, void* self);
  static int HandleWrite(_UMockdevIoctlBase* base, _UMockdevIoctlClient* client, void* self);

  const FakeDeviceDescription description_;
  const std::string devnode_;
  const std::string syspath_;
  const std::string hidSyspath_;
  const std::string rootDir_;

  mutable std::mutex mutex_;
  mutable std::condition_variable written_cv_;
  int master_ = -1;  // owned by the testbed
  int reader_ = -1;  // our own fd on the node, consumes the wake bytes
  bool plugged_ = true;
  std::deque<Report> inputs_;
  std::vector<Report> written_;
  std::mutex callbackMutex_;  // held while onWrite_ runs; taken before mutex_
  std::function<void(const Report&)> onWrite_;
  std::map<unsigned long, std::size_t> ioctls_;
};

}  // namespace hid::platform::linux_::fakes
