#include "hid/platform/linux/tests/FakeHidNode.h"

#include <umockdev.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "hid/platform/linux/tests/FakeHidDevice.h"

namespace hid::platform::linux_::fakes {

namespace {

// hidraw's buffer of unread reports per fd.
constexpr std::size_t kUnreadPerFd = 64;
// The request our own connection check sends; hidraw has no such ioctl.
constexpr unsigned long kKnowEveryFdRequest = _IO('H', 0xF0);

}  // namespace

FakeHidNode::FakeHidNode(std::string devnode, std::string rootDir)
    : devnode_(std::move(devnode)), rootDir_(std::move(rootDir)), handler_(umockdev_ioctl_base_new()) {
  g_signal_connect(handler_, "client-connected", G_CALLBACK(&FakeHidNode::OnConnected), this);
  g_signal_connect(handler_, "client-vanished", G_CALLBACK(&FakeHidNode::OnVanished), this);
  g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(&FakeHidNode::OnIoctl), this);
  g_signal_connect(handler_, "handle-read", G_CALLBACK(&FakeHidNode::OnRead), this);
  g_signal_connect(handler_, "handle-write", G_CALLBACK(&FakeHidNode::OnWrite), this);
}

FakeHidNode::~FakeHidNode() {
  g_signal_handlers_disconnect_by_data(handler_, this);
  g_object_unref(handler_);
  if (tokenReader_ >= 0) ::close(tokenReader_);
}

unsigned FakeHidNode::number() const {
  const auto digits = devnode_.find_first_of("0123456789");
  return digits == std::string::npos ? 0 : static_cast<unsigned>(std::stoul(devnode_.substr(digits)));
}

void FakeHidNode::AttachMaster(int master) {
  std::lock_guard lock(mutex_);
  master_ = master;
  // The testbed's node is a link to the PTY's device; opening it directly
  // (not through /dev) gives an fd that the preload library leaves alone.
  tokenReader_ = ::open((rootDir_ + devnode_).c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

void FakeHidNode::SetOccupant(FakeHidDevice* device) {
  std::lock_guard lock(mutex_);
  occupant_ = device;
  DropTokens();
}

void FakeHidNode::SetAccessRefused(bool refused) { ::chmod((rootDir_ + devnode_).c_str(), refused ? 0000 : 0666); }

void FakeHidNode::AddTokens(std::size_t count) {
  if (master_ < 0 || count == 0) return;
  const std::vector<std::uint8_t> tokens(count, 0);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(master_, tokens.data() + done, count - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno != EINTR) {
      return;
    }
  }
}

void FakeHidNode::TakeTokens(std::size_t count) {
  std::uint8_t sink[64];
  while (count > 0 && tokenReader_ >= 0) {
    const ssize_t n = ::read(tokenReader_, sink, std::min(count, sizeof sink));
    if (n > 0) {
      count -= static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      return;
    }
  }
}

void FakeHidNode::DropTokens() {
  std::uint8_t sink[64];
  while (tokenReader_ >= 0) {
    const ssize_t n = ::read(tokenReader_, sink, sizeof sink);
    if (n <= 0 && !(n < 0 && errno == EINTR)) return;
  }
}

FakeHidNode::Client* FakeHidNode::Find(_UMockdevIoctlClient* client) {
  const auto it = clients_.find(client);
  return it == clients_.end() ? nullptr : &it->second;
}

void FakeHidNode::KnowEveryOpenFd() {
  // Connections are accepted in order: once ours is, so is every earlier one.
  const int fd = ::open(devnode_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;  // refused: no reader can be waiting either
  (void)::ioctl(fd, kKnowEveryFdRequest);
  ::close(fd);
}

void FakeHidNode::Deliver(const FakeHidDevice& device, const Report& report) {
  if (worker_.load() == std::this_thread::get_id()) {
    // Sent while the worker answers a request (a write the device replies
    // to). Connections of fds opened before that request may still wait to
    // be accepted; the delivery waits until the worker has nothing more
    // urgent to do, acceptances included.
    struct Later {
      FakeHidNode* node;
      const FakeHidDevice* device;
      Report report;
    };
    GSource* idle = g_idle_source_new();
    g_source_set_priority(idle, G_PRIORITY_LOW);
    g_source_set_callback(
        idle,
        [](gpointer data) -> gboolean {
          auto* later = static_cast<Later*>(data);
          later->node->DeliverNow(*later->device, later->report);
          return G_SOURCE_REMOVE;
        },
        new Later{this, &device, report}, [](gpointer data) { delete static_cast<Later*>(data); });
    GMainContext* context = g_main_context_ref_thread_default();
    g_source_attach(idle, context);
    g_main_context_unref(context);
    g_source_unref(idle);
    return;
  }
  KnowEveryOpenFd();
  DeliverNow(device, report);
}

void FakeHidNode::DeliverNow(const FakeHidDevice& device, const Report& report) {
  std::lock_guard lock(mutex_);
  std::size_t wakes = 0;
  for (auto& [key, client] : clients_) {
    if (client.device != &device || client.probe || client.unread.size() >= kUnreadPerFd) continue;
    client.unread.push_back(report);
    if (client.wakesPoll) ++wakes;
  }
  AddTokens(wakes);
}

void FakeHidNode::DeviceGone(const FakeHidDevice& device) {
  std::lock_guard lock(mutex_);
  for (auto& [key, client] : clients_) {
    if (client.device != &device) continue;
    if (client.wakesPoll) TakeTokens(client.unread.size());
    client.unread.clear();
  }
  AddTokens(1);
}

void FakeHidNode::OnConnected(_UMockdevIoctlBase*, _UMockdevIoctlClient* client, void* self) {
  auto* node = static_cast<FakeHidNode*>(self);
  node->worker_.store(std::this_thread::get_id());
  std::lock_guard lock(node->mutex_);
  node->clients_[client] = Client{node->occupant_, {}, true, false};
}

void FakeHidNode::OnVanished(_UMockdevIoctlBase*, _UMockdevIoctlClient* client, void* self) {
  auto* node = static_cast<FakeHidNode*>(self);
  std::lock_guard lock(node->mutex_);
  if (Client* c = node->Find(client)) {
    if (c->wakesPoll) node->TakeTokens(c->unread.size());
    node->clients_.erase(client);
  }
}

int FakeHidNode::OnIoctl(_UMockdevIoctlBase*, _UMockdevIoctlClient* client, void* self) {
  auto* node = static_cast<FakeHidNode*>(self);
  node->worker_.store(std::this_thread::get_id());
  FakeHidDevice* device = nullptr;
  {
    std::lock_guard lock(node->mutex_);
    Client* c = node->Find(client);
    if (umockdev_ioctl_client_get_request(client) == kKnowEveryFdRequest) {
      if (c != nullptr) {
        if (c->wakesPoll) node->TakeTokens(c->unread.size());
        c->unread.clear();
        c->probe = true;
      }
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    device = c != nullptr ? c->device : node->occupant_;
  }
  return device != nullptr && device->AnswerIoctl(client) ? TRUE : FALSE;
}

int FakeHidNode::OnRead(_UMockdevIoctlBase*, _UMockdevIoctlClient* client, void* self) {
  auto* node = static_cast<FakeHidNode*>(self);
  node->worker_.store(std::this_thread::get_id());
  std::unique_lock lock(node->mutex_);
  Client* c = node->Find(client);
  if (c != nullptr && (c->device == nullptr || !c->device->plugged())) {
    umockdev_ioctl_client_complete(client, -1, ENODEV);
    return TRUE;
  }
  if (c == nullptr || c->unread.empty()) {
    umockdev_ioctl_client_complete(client, -1, EAGAIN);
    return TRUE;
  }
  Report report = std::move(c->unread.front());
  c->unread.pop_front();
  if (c->wakesPoll) node->TakeTokens(1);
  lock.unlock();
  UMockdevIoctlData* buffer = umockdev_ioctl_client_get_arg(client);
  // Like hidraw: a buffer shorter than the report gets its first bytes.
  const std::size_t n = std::min<std::size_t>(report.size(), static_cast<std::size_t>(buffer->data_len));
  umockdev_ioctl_data_update(buffer, 0, report.data(), static_cast<gint>(n));
  umockdev_ioctl_client_complete(client, static_cast<glong>(n), 0);
  return TRUE;
}

int FakeHidNode::OnWrite(_UMockdevIoctlBase*, _UMockdevIoctlClient* client, void* self) {
  auto* node = static_cast<FakeHidNode*>(self);
  node->worker_.store(std::this_thread::get_id());
  FakeHidDevice* device = nullptr;
  {
    std::lock_guard lock(node->mutex_);
    Client* c = node->Find(client);
    if (c != nullptr && c->wakesPoll && !node->writersWakePoll_.load()) {
      node->TakeTokens(c->unread.size());
      c->wakesPoll = false;
    }
    device = c != nullptr ? c->device : node->occupant_;
  }
  if (device == nullptr) {
    umockdev_ioctl_client_complete(client, -1, ENODEV);
    return TRUE;
  }
  UMockdevIoctlData* data = umockdev_ioctl_client_get_arg(client);
  device->TakeWrite(client, FakeHidDevice::Report(data->data, data->data + data->data_len));
  return TRUE;
}

}  // namespace hid::platform::linux_::fakes
