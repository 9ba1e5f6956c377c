// One hidraw node of the testbed (/dev/hidrawN) and the fds open on it, as
// the kernel keeps them: every fd has its own buffer of unread input reports
// (at most 64, later ones are dropped for that fd), a report reaches only the
// fds that are open when it arrives, and an fd stays bound to the device it
// was opened on, also when a later device gets the same node.
//
// The node is a PTY underneath and poll() on it sees one tty buffer for all
// fds. The node keeps one byte in that buffer per unread report of the fds
// that read (fds that never wrote to the node), so poll() on a reading fd
// tells the truth as long as it is the only reader with unread reports; a
// reader may see the node readable while only another reader has reports,
// and its read() then fails with EAGAIN. An fd that writes (a main handle)
// still gets its reports on read() but no longer wakes poll(), unless the
// node is told that its users read and write on one fd.
//
// umockdev accepts the connection of a newly opened fd on its worker thread,
// some time after open() returned. A report sent from any other thread first
// waits until every fd opened before it is known, so "open, then send" never
// loses the report; one sent on the worker thread (a reply to a write) is
// handed out once the worker has accepted what is pending.
//
// Made by FakeHidTestbed; the handlers run on the testbed's worker thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct _UMockdevIoctlBase;
struct _UMockdevIoctlClient;

namespace hid::platform::linux_::fakes {

class FakeHidDevice;

class FakeHidNode {
 public:
  using Report = std::vector<std::uint8_t>;

  FakeHidNode(std::string devnode, std::string rootDir);
  ~FakeHidNode();
  FakeHidNode(const FakeHidNode&) = delete;
  FakeHidNode& operator=(const FakeHidNode&) = delete;

  const std::string& devnode() const { return devnode_; }
  // The node's number, N of /dev/hidrawN.
  unsigned number() const;
  // The handler umockdev runs for the node; attach it before the node appears.
  _UMockdevIoctlBase* handler() const { return handler_; }
  // Once the node exists: the PTY master the testbed made for it.
  void AttachMaster(int master);
  // Opens from now on reach `device`; what earlier devices left in the tty
  // buffer is dropped.
  void SetOccupant(FakeHidDevice* device);

  // Gives `report` to every fd open on `device`.
  void Deliver(const FakeHidDevice& device, const Report& report);
  // `device` left: its fds lose their unread reports, and a poll() waiting
  // on the node wakes up (read() then fails with ENODEV).
  void DeviceGone(const FakeHidDevice& device);
  // Mode 000 (refused) or 0666 on the node.
  void SetAccessRefused(bool refused);
  // Users that read and write on the same fd (wine's winebus does): an fd
  // keeps waking poll() after it wrote.
  void SetWritersWakePoll(bool wake) { writersWakePoll_ = wake; }

 private:
  struct Client {
    FakeHidDevice* device = nullptr;
    std::deque<Report> unread;
    bool wakesPoll = true;  // has not written to the node
    bool probe = false;     // our own connection check, not a user of the node
  };

  // Returns once umockdev has accepted every fd opened on the node so far.
  // Not on the worker thread.
  void KnowEveryOpenFd();
  void DeliverNow(const FakeHidDevice& device, const Report& report);
  void AddTokens(std::size_t count);
  void TakeTokens(std::size_t count);
  void DropTokens();
  Client* Find(_UMockdevIoctlClient* client);

  static void OnConnected(_UMockdevIoctlBase* base, _UMockdevIoctlClient* client, void* self);
  static void OnVanished(_UMockdevIoctlBase* base, _UMockdevIoctlClient* client, void* self);
  static int OnIoctl(_UMockdevIoctlBase* base, _UMockdevIoctlClient* client, void* self);
  static int OnRead(_UMockdevIoctlBase* base, _UMockdevIoctlClient* client, void* self);
  static int OnWrite(_UMockdevIoctlBase* base, _UMockdevIoctlClient* client, void* self);

  const std::string devnode_;
  const std::string rootDir_;
  _UMockdevIoctlBase* handler_ = nullptr;
  std::atomic<std::thread::id> worker_{};
  std::atomic<bool> writersWakePoll_{false};

  std::mutex mutex_;
  FakeHidDevice* occupant_ = nullptr;
  std::map<_UMockdevIoctlClient*, Client> clients_;
  int master_ = -1;       // owned by the testbed
  int tokenReader_ = -1;  // our own fd on the PTY, bypassing umockdev
};

}  // namespace hid::platform::linux_::fakes
