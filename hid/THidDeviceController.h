// The HID device controller: lists the HID devices present, rescans when the
// platform reports a device change, offers devices for selection and checks
// them out.
//
// Host wiring (all on the main thread):
//   hid::MainThreadQueue queue;                     // made on the main thread
//   hid::THidDeviceController HidCtl(backend, queue);
//   queue.SetWakeup([]{ /* schedule queue.ServePending() on the loop */ });
//   HidCtl.BeginLoading();                          // connect handlers, no scan
//   HidCtl.SetOnDeviceChange(hid::MakeHandler(this, &TMainForm::HidCtlDeviceChange));
//   ...
//   HidCtl.EndLoading();
//   watch HidCtl.MonitorFd(), where it is >= 0, for readability
//     -> HidCtl.OnMonitorReadable();
//
// A monitor without a descriptor (Windows) needs no watching: it notifies the
// controller itself, and the controller posts the rescan to the queue. Hosts
// without an event loop (the command line, tests) call OnMonitorReadable now
// and then, which serves either kind without blocking.
//
// Creation loads the platform libraries and, when that worked, posts the
// controller's own first device-change notification to the queue: the first
// scan runs when the host loop serves it, after the owner's handlers exist.
//
// A listed device whose reader ends with a final error (the device answers
// ENODEV but no notification said it went: a USB reset, a stall) queues one
// rescan too, which takes the device for gone and lists a fresh object for
// it when it is still there. Once per identity until an object for it has
// read a report again.
//
// One DeviceChange fires all unplug and removal events (list end to start),
// then all arrivals (scan order), then at most one OnDeviceChange. An event
// handler that throws leaves the operation that fired it, and the exception
// leaves OnMonitorReadable / ServePending to the host; the controller's marks
// are cleared all the same. An exception from a data or data-error handler
// goes back to that device's reader and ends it instead.
//
// Ownership: the controller owns the listed devices that are not checked out;
// a checked-out device belongs to the caller of CheckOutAt/CheckOutFirstMatch,
// who gives it back with `delete` (see THidDevice.h). The backend and the
// queue must outlive the controller and every device it handed out.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "hid/HidEvents.h"
#include "hid/THidDevice.h"
#include "hid/platform/HidPlatform.h"

namespace hid {

class MainThreadQueue;

class THidDeviceController {
 public:
  static constexpr const char* kVersion = "1.0.32";
  static constexpr std::int32_t kDefaultSleepTime = 100;

  THidDeviceController(platform::Backend& backend, MainThreadQueue& queue);
  ~THidDeviceController();
  THidDeviceController(const THidDeviceController&) = delete;
  THidDeviceController& operator=(const THidDeviceController&) = delete;

  // While loading, assigning OnDeviceChange does not rescan (handlers of the
  // owner are being connected). EndLoading starts nothing either.
  void BeginLoading() { loading_ = true; }
  void EndLoading() { loading_ = false; }
  bool Loading() const { return loading_; }

  // Whether the platform libraries were loaded; without them nothing is ever scanned.
  bool Loaded() const { return loaded_; }

  // Device-change notifications. HasMonitor: whether any arrive at all.
  // MonitorFd: the descriptor the host watches (-1: none to watch), calling
  // OnMonitorReadable when it is readable. OnMonitorReadable never blocks: it
  // drains the descriptor and rescans on a change, or serves what waits for a
  // monitor that notifies by itself. A notification that arrives while a
  // rescan runs (a nested loop inside an event handler) is dropped.
  bool HasMonitor() const { return monitor_ != nullptr; }
  int MonitorFd() const;
  void OnMonitorReadable();

  // Rescans and compares with the list; fires the events described above.
  void DeviceChange();
  // Offers each present device to OnEnumerate (with its index) until the
  // handler returns false; returns how many were offered. Without a handler
  // the first present device ends it.
  std::int32_t EnumerateDevices();
  // HidDev := the device at Idx, checked out; false (HidDev null) when Idx is
  // outside the list or the device is checked out already.
  bool CheckOutAt(THidDevice*& HidDev, std::int32_t Idx);
  // HidDev := the first device, not checked out, that `filter` accepts.
  bool CheckOutFirstMatch(THidDevice*& HidDev, DeviceFilter filter);

  // The device list, in order (checked-out devices stay listed until deleted).
  std::int32_t Count() const { return static_cast<std::int32_t>(list_.size()); }
  THidDevice* At(std::int32_t index) const;

  // Devices whose wait time equals the old value take the new one (when it
  // is in 10..10000); devices made later start at 100 all the same.
  std::int32_t DevThreadSleepTime() const { return devThreadSleepTime_; }
  void SetDevThreadSleepTime(std::int32_t ms);

  std::string Version() const { return kVersion; }
  void SetVersion(const std::string&) {}  // read-only: a written value has no effect

  const THidPlugEvent& OnArrival() const { return onArrival_; }
  void SetOnArrival(const THidPlugEvent& h) { onArrival_ = h; }
  const THidEnumerateEvent& OnEnumerate() const { return onEnumerate_; }
  void SetOnEnumerate(const THidEnumerateEvent& h) { onEnumerate_ = h; }
  const THidPlugEvent& OnRemoval() const { return onRemoval_; }
  void SetOnRemoval(const THidPlugEvent& h) { onRemoval_ = h; }
  const TNotifyEvent& OnDeviceChange() const { return onDeviceChange_; }
  // No effect when the code is the current one; otherwise DeviceChange runs
  // at once unless loading.
  void SetOnDeviceChange(const TNotifyEvent& h);
  // These three reach every listed device that still has the controller's
  // current handler. An empty data handler stops those readers; a set one
  // starts readers of checked-out devices. A device made later takes the
  // data and unplug handlers, but not the data-error handler.
  const THidDataEvent& OnDeviceData() const { return onDeviceData_; }
  void SetOnDeviceData(const THidDataEvent& h);
  const THidDataErrorEvent& OnDeviceDataError() const { return onDeviceDataError_; }
  void SetOnDeviceDataError(const THidDataErrorEvent& h);
  const THidPlugEvent& OnDeviceUnplug() const { return onDeviceUnplug_; }
  void SetOnDeviceUnplug(const THidPlugEvent& h);

  platform::Backend& Backend() const { return backend_; }
  MainThreadQueue& Queue() const { return queue_; }

 private:
  friend class THidDevice;

  void HandleNotification(std::int32_t parameter);
  // Any thread: queues one rescan unless one waits already (`queued`).
  static void PostRescan(MainThreadQueue& queue, std::weak_ptr<bool> alive, std::shared_ptr<std::atomic<bool>> queued,
                         THidDeviceController* self);
  void RunPostedRescan();
  // Main thread, from a device's reader: its reads ended with a final error
  // (ENODEV) / one of them delivered a report.
  void ReadEnded(THidDevice* device);
  void ReadSucceeded(platform::DeviceInstanceId id);
  std::vector<std::unique_ptr<THidDevice>> ScanPresentDevices();
  bool TryCheckOut(THidDevice*& HidDev, std::size_t index, bool accept);
  // Called by a device's destructor: a fresh object takes its place while it
  // is present, else the entry goes.
  void GiveBack(THidDevice* device, const THidDataEvent& data, const THidPlugEvent& unplug,
                std::uint32_t waitTime);

  platform::Backend& backend_;
  MainThreadQueue& queue_;
  bool loaded_ = false;
  bool loading_ = false;
  bool inDeviceChange_ = false;
  std::int32_t lastNotification_ = 0;
  std::int32_t devThreadSleepTime_ = kDefaultSleepTime;
  std::unique_ptr<platform::Monitor> monitor_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  // Set while a rescan for the monitor's callback waits in the queue.
  std::shared_ptr<std::atomic<bool>> rescanQueued_ = std::make_shared<std::atomic<bool>>(false);
  // Set by the monitor's callback: the queued rescan runs whatever else holds.
  std::shared_ptr<std::atomic<bool>> monitorAsked_ = std::make_shared<std::atomic<bool>>(false);
  // Identities whose final read error has had its rescan, and no object for
  // them has read a report since: a device that fails again at once does not
  // send the controller round a loop of rescans.
  std::unordered_set<platform::DeviceInstanceId> readErrorRescans_;
  // Owned when not checked out.
  std::vector<THidDevice*> list_;
  // DeviceChange's copies of the list while it looks for devices that are
  // gone (more than one when a handler starts another DeviceChange).
  std::vector<std::vector<THidDevice*>*> removalPasses_;
  THidPlugEvent onArrival_;
  THidEnumerateEvent onEnumerate_;
  TNotifyEvent onDeviceChange_;
  THidDataEvent onDeviceData_;
  THidDataErrorEvent onDeviceDataError_;
  THidPlugEvent onDeviceUnplug_;
  THidPlugEvent onRemoval_;
};

}  // namespace hid
