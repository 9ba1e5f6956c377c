// varnok_fake_setupapi.dll: the SetupDi* entries the binding uses, listing
// the devices of the fake bus as HID interfaces. Checks the record sizes the
// caller gives as the real one does, so a wrong size shows up here too.
#define _SETUPAPI_  // defining the entries here, not importing them
#include <windows.h>
// After windows.h:
#include <setupapi.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "hid/platform/windows/tests/fake/FakeHidBus.h"
#include "hid/platform/windows/tests/fake/HidClassGuid.h"

namespace {

constexpr std::uint32_t kMagic = 0x46414B45;  // "FAKE"

struct InfoSet {
    std::uint32_t magic = kMagic;
    std::vector<FakeHidEntry> entries;
};

InfoSet* SetOf(HDEVINFO handle) {
    auto* set = static_cast<InfoSet*>(handle);
    return set != nullptr && handle != INVALID_HANDLE_VALUE && set->magic == kMagic ? set : nullptr;
}

}  // namespace

extern "C" {

HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID* classGuid, PCSTR, HWND, DWORD flags) {
    if (FakeHidBus_SnapshotFails()) {
        SetLastError(ERROR_INVALID_DATA);
        return INVALID_HANDLE_VALUE;
    }
    if (classGuid == nullptr || !(flags & DIGCF_DEVICEINTERFACE)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return INVALID_HANDLE_VALUE;
    }
    auto* set = new InfoSet();
    if (*classGuid == fakehid::kHidClassGuid && (flags & DIGCF_PRESENT)) {
        set->entries.resize(64);
        const int count = FakeHidBus_List(set->entries.data(), static_cast<int>(set->entries.size()));
        set->entries.resize(static_cast<std::size_t>(count < 64 ? count : 64));
    }
    return set;
}

BOOL WINAPI SetupDiEnumDeviceInterfaces(HDEVINFO handle, PSP_DEVINFO_DATA, const GUID* classGuid, DWORD index,
                                        PSP_DEVICE_INTERFACE_DATA data) {
    InfoSet* set = SetOf(handle);
    if (set == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (data == nullptr || data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA) || classGuid == nullptr) {
        SetLastError(ERROR_INVALID_USER_BUFFER);
        return FALSE;
    }
    if (index >= set->entries.size()) {
        SetLastError(ERROR_NO_MORE_ITEMS);
        return FALSE;
    }
    data->InterfaceClassGuid = *classGuid;
    data->Flags = SPINT_ACTIVE;
    data->Reserved = index + 1;
    return TRUE;
}

BOOL WINAPI SetupDiGetDeviceInterfaceDetailA(HDEVINFO handle, PSP_DEVICE_INTERFACE_DATA data,
                                             PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD detailSize,
                                             PDWORD requiredSize, PSP_DEVINFO_DATA deviceInfo) {
    InfoSet* set = SetOf(handle);
    if (set == nullptr || data == nullptr || data->Reserved == 0 || data->Reserved > set->entries.size()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const FakeHidEntry& entry = set->entries[data->Reserved - 1];
    if (entry.device.detailFails) {
        SetLastError(ERROR_NOT_FOUND);
        return FALSE;
    }
    const DWORD required =
        static_cast<DWORD>(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) + std::strlen(entry.path) + 1);
    if (requiredSize != nullptr) *requiredSize = required;
    if (detail == nullptr && detailSize != 0) {
        SetLastError(ERROR_INVALID_USER_BUFFER);
        return FALSE;
    }
    if (detail == nullptr || detailSize < required) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    if (detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) ||
        (deviceInfo != nullptr && deviceInfo->cbSize != sizeof(SP_DEVINFO_DATA))) {
        SetLastError(ERROR_INVALID_USER_BUFFER);
        return FALSE;
    }
    std::memcpy(detail->DevicePath, entry.path, std::strlen(entry.path) + 1);
    if (deviceInfo != nullptr) {
        deviceInfo->ClassGuid = fakehid::kHidClassGuid;
        deviceInfo->DevInst = entry.device.devInst;
    }
    return TRUE;
}

BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO handle) {
    InfoSet* set = SetOf(handle);
    if (set == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    set->magic = 0;
    delete set;
    return TRUE;
}

}  // extern "C"
