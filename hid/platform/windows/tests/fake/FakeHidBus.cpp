// varnok_fake_hid_bus.dll: the fake devices, shared by the test and the fake
// setupapi and hid DLLs.
#include "hid/platform/windows/tests/fake/FakeHidBus.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "hid/platform/windows/tests/fake/FakePipeDevice.h"

namespace {

struct Bus {
    std::mutex mutex;
    std::vector<std::pair<int, std::shared_ptr<fakehid::FakePipeDevice>>> devices;  // plug order
    int nextId = 1;
    std::uint32_t nextInstance = 5000;
    std::atomic<int> snapshotFails{0};
};

Bus& TheBus() {
    static Bus bus;
    return bus;
}

std::shared_ptr<fakehid::FakePipeDevice> Get(int id) {
    Bus& bus = TheBus();
    std::lock_guard lock(bus.mutex);
    for (auto& [key, device] : bus.devices) {
        if (key == id) return device;
    }
    return nullptr;
}

}  // namespace

FAKE_HID_BUS_API int FakeHidBus_Plug(const FakeHidDevice* device, char* path, uint32_t pathSize) {
    Bus& bus = TheBus();
    FakeHidDevice description = *device;
    int id;
    {
        std::lock_guard lock(bus.mutex);
        id = bus.nextId++;
        if (description.devInst == 0) description.devInst = bus.nextInstance++;
    }
    std::shared_ptr<fakehid::FakePipeDevice> made;
    try {
        made = std::make_shared<fakehid::FakePipeDevice>(id, description);
    } catch (...) {
        return 0;
    }
    if (path != nullptr && pathSize > 0) {
        std::strncpy(path, made->Path().c_str(), pathSize - 1);
        path[pathSize - 1] = '\0';
    }
    std::lock_guard lock(bus.mutex);
    bus.devices.emplace_back(id, std::move(made));
    return id;
}

FAKE_HID_BUS_API int FakeHidBus_Unplug(int id) {
    Bus& bus = TheBus();
    std::shared_ptr<fakehid::FakePipeDevice> gone;
    {
        std::lock_guard lock(bus.mutex);
        auto it = std::find_if(bus.devices.begin(), bus.devices.end(), [id](const auto& d) { return d.first == id; });
        if (it == bus.devices.end()) return 0;
        gone = std::move(it->second);
        bus.devices.erase(it);
    }
    gone.reset();  // closes its pipe ends (once no call of the fakes still uses it)
    return 1;
}

FAKE_HID_BUS_API int FakeHidBus_SendInput(int id, const uint8_t* report, uint32_t length) {
    auto device = Get(id);
    return device ? device->SendInput(report, length) : 0;
}

FAKE_HID_BUS_API int FakeHidBus_Listeners(int id) {
    auto device = Get(id);
    return device ? device->Listeners() : 0;
}

FAKE_HID_BUS_API uint32_t FakeHidBus_OutputReports(int id) {
    auto device = Get(id);
    return device ? device->OutputReports() : 0;
}

FAKE_HID_BUS_API int FakeHidBus_Slot(int id, int pedal, uint8_t slot[4]) {
    auto device = Get(id);
    if (!device || pedal < 0 || pedal >= sim::PedalFirmware::kPedalCount) return 0;
    const auto stored = device->Firmware().GetSlot(pedal);
    std::copy(stored.begin(), stored.end(), slot);
    return 1;
}

FAKE_HID_BUS_API void FakeHidBus_SetSnapshotFails(int fails) { TheBus().snapshotFails = fails; }

FAKE_HID_BUS_API void FakeHidBus_Reset(void) {
    Bus& bus = TheBus();
    std::vector<std::pair<int, std::shared_ptr<fakehid::FakePipeDevice>>> gone;
    {
        std::lock_guard lock(bus.mutex);
        gone.swap(bus.devices);
        bus.snapshotFails = 0;
    }
    gone.clear();
}

FAKE_HID_BUS_API int FakeHidBus_SnapshotFails(void) { return TheBus().snapshotFails.load(); }

FAKE_HID_BUS_API int FakeHidBus_List(FakeHidEntry* out, int capacity) {
    Bus& bus = TheBus();
    std::lock_guard lock(bus.mutex);
    const int count = static_cast<int>(bus.devices.size());
    for (int i = 0; i < count && i < capacity; ++i) {
        const auto& device = *bus.devices[static_cast<std::size_t>(i)].second;
        out[i].device = device.Description();
        std::strncpy(out[i].path, device.Path().c_str(), sizeof out[i].path - 1);
        out[i].path[sizeof out[i].path - 1] = '\0';
    }
    return count;
}

FAKE_HID_BUS_API int FakeHidBus_Find(const wchar_t* pipeName, FakeHidDevice* out) {
    // "\varnok-fake-hid-..." (a handle's file name) or a bare name.
    const wchar_t* name = std::wcsrchr(pipeName, L'\\');
    name = name != nullptr ? name + 1 : pipeName;
    Bus& bus = TheBus();
    std::lock_guard lock(bus.mutex);
    for (const auto& entry : bus.devices) {
        if (entry.second->PipeName() == name) {
            *out = entry.second->Description();
            return 1;
        }
    }
    return 0;
}
