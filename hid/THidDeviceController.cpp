#include "hid/THidDeviceController.h"

#include <algorithm>
#include <atomic>
#include <unordered_set>

#include "hid/MainThreadQueue.h"

namespace hid {

namespace {

// Sets a flag for the length of a scope and restores it, also when the
// scope is left by an exception (a flag left set would block later work).
template <class Flag>
class FlagScope {
 public:
  explicit FlagScope(Flag& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = old_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  Flag& flag_;
  bool old_;
};

}  // namespace

THidDeviceController::THidDeviceController(platform::Backend& backend, MainThreadQueue& queue)
    : backend_(backend), queue_(queue) {
  loaded_ = backend_.Load();
  if (!loaded_) return;
  monitor_ = backend_.CreateMonitor();
  // A monitor that notifies by itself may do so on any thread: the rescan
  // runs on the main thread, through the queue, like the first one.
  if (monitor_) {
    // One plug-in brings a burst of notifications: at most one rescan waits
    // in the queue, and one that comes while it runs queues the next.
    monitor_->SetNotify(
        [&queue = queue_, this, alive = std::weak_ptr<bool>(alive_), queued = rescanQueued_, asked = monitorAsked_] {
          asked->store(true);
          PostRescan(queue, alive, queued, this);
        });
  }
  // The first scan runs once the host loop serves this, after the owner's
  // handlers exist.
  queue_.Post([this, alive = std::weak_ptr<bool>(alive_)] {
    if (alive.lock()) HandleNotification(-1);
  });
}

THidDeviceController::~THidDeviceController() {
  onDeviceChange_ = TNotifyEvent();
  SetOnDeviceUnplug(THidPlugEvent());  // devices that had ours lose it
  onEnumerate_ = THidEnumerateEvent();
  alive_.reset();
  monitor_.reset();
  std::vector<THidDevice*> list;
  list.swap(list_);
  for (THidDevice* device : list) {
    device->controller_ = nullptr;
    if (device->CheckedOut()) {
      // Its owner still holds it and deletes it later.
      try {
        device->MarkUnplugged();
      } catch (...) {
      }
    } else {
      delete device;
    }
  }
  if (loaded_) backend_.Release();
}

THidDevice* THidDeviceController::At(std::int32_t index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return list_[static_cast<std::size_t>(index)];
}

int THidDeviceController::MonitorFd() const { return monitor_ ? monitor_->fd() : -1; }

void THidDeviceController::OnMonitorReadable() {
  // Always drain, so the fd does not stay readable while a rescan runs.
  if (monitor_ && monitor_->Drain()) HandleNotification(0);
}

void THidDeviceController::PostRescan(MainThreadQueue& queue, std::weak_ptr<bool> alive,
                                      std::shared_ptr<std::atomic<bool>> queued, THidDeviceController* self) {
  if (queued->exchange(true)) return;
  queue.Post([self, alive = std::move(alive), queued] {
    queued->store(false);
    if (alive.lock()) self->RunPostedRescan();
  });
}

void THidDeviceController::RunPostedRescan() {
  // Asked for by a read error only: a rescan since (the monitor's, on a
  // real unplug) may have dealt with the device already.
  const bool asked = monitorAsked_->exchange(false);
  const bool stale = std::any_of(list_.begin(), list_.end(),
                                 [](const THidDevice* device) { return device->finalReadError_ && device->Present(); });
  if (asked || stale) HandleNotification(0);
}

void THidDeviceController::ReadEnded(THidDevice* device) {
  if (std::find(list_.begin(), list_.end(), device) == list_.end() || !device->Present()) return;
  device->finalReadError_ = true;  // the next rescan takes it for gone
  if (readErrorRescans_.insert(device->PnPInfo().DeviceInstance).second) PostRescan(queue_, alive_, rescanQueued_, this);
}

void THidDeviceController::ReadSucceeded(platform::DeviceInstanceId id) {
  if (!readErrorRescans_.empty()) readErrorRescans_.erase(id);
}

void THidDeviceController::HandleNotification(std::int32_t parameter) {
  if (inDeviceChange_) return;
  lastNotification_ = parameter;
  FlagScope<bool> mark(inDeviceChange_);
  DeviceChange();
}

std::vector<std::unique_ptr<THidDevice>> THidDeviceController::ScanPresentDevices() {
  std::vector<std::unique_ptr<THidDevice>> found;
  if (!loaded_) return found;
  auto snapshot = backend_.GetPresentInterfaces();
  if (!snapshot) return found;
  platform::InterfaceDetail detail;
  for (std::uint32_t index = 0; snapshot->EnumDeviceInterface(index, detail); ++index) {
    THidPnPInfo pnp;
    pnp.DeviceInstance = detail.DevInst;
    pnp.DevicePath = detail.DevicePath;
    try {
      found.push_back(std::make_unique<THidDevice>(pnp, this));
    } catch (const EControllerError&) {
      // not openable or not identifiable: left out
    }
    detail = platform::InterfaceDetail();
  }
  return found;
}

void THidDeviceController::DeviceChange() {
  bool changed = lastNotification_ == -1;
  auto found = ScanPresentDevices();
  std::unordered_set<platform::DeviceInstanceId> scanned;
  for (const auto& device : found) scanned.insert(device->PnPInfo().DeviceInstance);
  std::erase_if(readErrorRescans_, [&scanned](platform::DeviceInstanceId id) { return scanned.count(id) == 0; });

  // Gone: from the end of the list to its start, over a copy that handlers
  // giving devices back keep up to date (GiveBack), so no entry is handled
  // twice or skipped when the list moves.
  std::vector<THidDevice*> pass = list_;
  removalPasses_.push_back(&pass);
  struct PassScope {
    std::vector<std::vector<THidDevice*>*>& passes;
    ~PassScope() { passes.pop_back(); }
  } passScope{removalPasses_};
  for (std::size_t i = pass.size(); i-- > 0;) {
    THidDevice* device = pass[i];
    if (device == nullptr) continue;  // given back meanwhile
    if (device->Present() && !device->finalReadError_ && scanned.count(device->PnPInfo().DeviceInstance) != 0) {
      continue;
    }
    device->MarkUnplugged();
    {
      FlagScope<std::atomic<bool>> callback(device->inCallback_);
      if (onRemoval_) onRemoval_(device);
    }
    if (!device->CheckedOut()) {
      auto it = std::find(list_.begin(), list_.end(), device);
      if (it != list_.end()) list_.erase(it);
      delete device;
    }
    changed = true;
  }

  // Already listed: the new object is a duplicate.
  std::unordered_set<platform::DeviceInstanceId> listed;
  for (const THidDevice* device : list_) {
    if (device->Present()) listed.insert(device->PnPInfo().DeviceInstance);
  }
  for (auto& device : found) {
    if (listed.count(device->PnPInfo().DeviceInstance) != 0) {
      device->controller_ = nullptr;
      device.reset();
    }
  }

  // Arrivals, in scan order.
  for (auto& device : found) {
    if (!device) continue;
    THidDevice* arrived = device.release();
    list_.push_back(arrived);
    changed = true;
    FlagScope<std::atomic<bool>> callback(arrived->inCallback_);
    if (onArrival_) onArrival_(arrived);
  }

  if (changed && onDeviceChange_) onDeviceChange_(this);
}

std::int32_t THidDeviceController::EnumerateDevices() {
  std::int32_t count = 0;
  for (std::size_t i = 0; i < list_.size(); ++i) {
    THidDevice* device = list_[i];
    if (!device->Present()) continue;
    ++count;
    bool goOn = false;
    {
      FlagScope<std::atomic<bool>> callback(device->inCallback_);
      if (onEnumerate_) goOn = onEnumerate_(device, static_cast<std::int32_t>(i));
    }
    if (!device->CheckedOut()) {
      device->CloseMainHandle();
      device->CloseOverlappedHandle();
    }
    if (!goOn) break;
  }
  return count;
}

bool THidDeviceController::TryCheckOut(THidDevice*& HidDev, std::size_t index, bool accept) {
  THidDevice* device = list_[index];
  if (!accept || device->CheckedOut()) return false;
  HidDev = device;
  device->checkedOut_.store(true);
  device->StartReader();
  return true;
}

bool THidDeviceController::CheckOutAt(THidDevice*& HidDev, std::int32_t Idx) {
  HidDev = nullptr;
  if (Idx < 0 || Idx >= Count()) return false;
  return TryCheckOut(HidDev, static_cast<std::size_t>(Idx), true);
}

bool THidDeviceController::CheckOutFirstMatch(THidDevice*& HidDev, DeviceFilter filter) {
  HidDev = nullptr;
  for (std::size_t i = 0; i < list_.size(); ++i) {
    THidDevice* device = list_[i];
    if (device->CheckedOut()) continue;
    bool accept = false;
    {
      FlagScope<std::atomic<bool>> callback(device->inCallback_);
      accept = filter != nullptr && filter(device);
    }
    if (TryCheckOut(HidDev, i, accept)) return true;
    device->CloseMainHandle();
    device->CloseOverlappedHandle();
  }
  return false;
}

void THidDeviceController::SetDevThreadSleepTime(std::int32_t ms) {
  for (THidDevice* device : list_) {
    if (static_cast<std::int64_t>(device->ReaderWaitTime()) == devThreadSleepTime_) {
      device->SetReaderWaitTime(ms < 0 ? 0 : static_cast<std::uint32_t>(ms));
    }
  }
  devThreadSleepTime_ = ms;
}

void THidDeviceController::SetOnDeviceChange(const TNotifyEvent& h) {
  if (h == onDeviceChange_) return;
  onDeviceChange_ = h;
  if (!loading_) DeviceChange();
}

void THidDeviceController::SetOnDeviceData(const THidDataEvent& h) {
  if (h == onDeviceData_) return;
  const THidDataEvent old = onDeviceData_;
  for (std::size_t i = 0; i < list_.size(); ++i) {
    if (list_[i]->DataHandler() == old) list_[i]->SetDataHandler(h);
  }
  onDeviceData_ = h;
}

void THidDeviceController::SetOnDeviceDataError(const THidDataErrorEvent& h) {
  if (h == onDeviceDataError_) return;
  for (THidDevice* device : list_) {
    if (device->DataErrorHandler() == onDeviceDataError_) device->SetDataErrorHandler(h);
  }
  onDeviceDataError_ = h;
}

void THidDeviceController::SetOnDeviceUnplug(const THidPlugEvent& h) {
  if (h == onDeviceUnplug_) return;
  for (THidDevice* device : list_) {
    if (device->UnplugHandler() == onDeviceUnplug_) device->SetUnplugHandler(h);
  }
  onDeviceUnplug_ = h;
}

void THidDeviceController::GiveBack(THidDevice* device, const THidDataEvent& data, const THidPlugEvent& unplug,
                                    std::uint32_t waitTime) {
  auto it = std::find(list_.begin(), list_.end(), device);
  if (it == list_.end()) return;
  const std::size_t index = static_cast<std::size_t>(it - list_.begin());
  THidDevice* successor = nullptr;
  if (device->Present()) {
    try {
      auto fresh = std::make_unique<THidDevice>(device->PnPInfo(), this);
      fresh->SetDataHandler(data);
      fresh->SetUnplugHandler(unplug);
      fresh->SetReaderWaitTime(waitTime);
      successor = fresh.release();
    } catch (...) {
      // The device no longer opens: it leaves the list as an unplugged one does.
    }
  }
  if (successor != nullptr) {
    list_[index] = successor;
  } else {
    list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(index));
  }
  for (auto* pass : removalPasses_) std::replace(pass->begin(), pass->end(), device, successor);
}

}  // namespace hid
