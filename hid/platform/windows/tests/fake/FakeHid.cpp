// varnok_fake_hid.dll: the HidD_* / HidP_* entries the binding uses, answered
// from the fake bus for the device whose pipe the handle is connected to.
#include <windows.h>
// After windows.h; the header declares the entries without C linkage.
extern "C" {
#include <hidsdi.h>
}

#include <cstdint>
#include <cwchar>

#include "hid/platform/windows/tests/fake/FakeHidBus.h"
#include "hid/platform/windows/tests/fake/HidClassGuid.h"

namespace {

constexpr std::uint32_t kMagic = 0x50524550;  // "PREP"

struct Preparsed {
    std::uint32_t magic = kMagic;
    HIDP_CAPS caps{};
};

// The device behind a handle: the pipe's name says which one.
bool Lookup(HANDLE handle, FakeHidDevice& device) {
    alignas(FILE_NAME_INFO) char buffer[sizeof(FILE_NAME_INFO) + 512];
    auto* info = reinterpret_cast<FILE_NAME_INFO*>(buffer);
    if (!GetFileInformationByHandleEx(handle, FileNameInfo, info, sizeof buffer - sizeof(wchar_t))) return false;
    info->FileName[info->FileNameLength / sizeof(wchar_t)] = L'\0';
    if (FakeHidBus_Find(info->FileName, &device)) return true;
    SetLastError(ERROR_DEVICE_NOT_CONNECTED);
    return false;
}

BOOLEAN CopyString(const wchar_t* text, PVOID buffer, ULONG bufferBytes) {
    const std::size_t length = std::wcslen(text);
    if (length == 0) {  // the device has no such string
        SetLastError(ERROR_GEN_FAILURE);
        return FALSE;
    }
    auto* out = static_cast<wchar_t*>(buffer);
    const std::size_t room = bufferBytes / sizeof(wchar_t);
    std::size_t i = 0;
    for (; i < length && i < room; ++i) out[i] = text[i];
    if (i < room) out[i] = L'\0';
    return TRUE;
}

}  // namespace

extern "C" {

void NTAPI HidD_GetHidGuid(LPGUID guid) { *guid = fakehid::kHidClassGuid; }

BOOLEAN NTAPI HidD_GetAttributes(HANDLE handle, PHIDD_ATTRIBUTES attributes) {
    FakeHidDevice device;
    if (!Lookup(handle, device)) return FALSE;
    attributes->Size = sizeof(HIDD_ATTRIBUTES);
    attributes->VendorID = device.vendorId;
    attributes->ProductID = device.productId;
    attributes->VersionNumber = device.version;
    return TRUE;
}

BOOLEAN NTAPI HidD_GetPreparsedData(HANDLE handle, PHIDP_PREPARSED_DATA* preparsed) {
    FakeHidDevice device;
    if (!Lookup(handle, device)) return FALSE;
    auto* data = new Preparsed();
    data->caps.Usage = device.usage;
    data->caps.UsagePage = device.usagePage;
    data->caps.InputReportByteLength = device.inputLength;
    data->caps.OutputReportByteLength = device.outputLength;
    data->caps.FeatureReportByteLength = device.featureLength;
    *preparsed = reinterpret_cast<PHIDP_PREPARSED_DATA>(data);
    return TRUE;
}

BOOLEAN NTAPI HidD_FreePreparsedData(PHIDP_PREPARSED_DATA preparsed) {
    auto* data = reinterpret_cast<Preparsed*>(preparsed);
    if (data == nullptr || data->magic != kMagic) return FALSE;
    data->magic = 0;
    delete data;
    return TRUE;
}

NTSTATUS NTAPI HidP_GetCaps(PHIDP_PREPARSED_DATA preparsed, PHIDP_CAPS caps) {
    auto* data = reinterpret_cast<Preparsed*>(preparsed);
    if (data == nullptr || data->magic != kMagic) return HIDP_STATUS_INVALID_PREPARSED_DATA;
    *caps = data->caps;
    return HIDP_STATUS_SUCCESS;
}

BOOLEAN NTAPI HidD_GetProductString(HANDLE handle, PVOID buffer, ULONG bufferBytes) {
    FakeHidDevice device;
    return Lookup(handle, device) && CopyString(device.product, buffer, bufferBytes);
}

BOOLEAN NTAPI HidD_GetSerialNumberString(HANDLE handle, PVOID buffer, ULONG bufferBytes) {
    FakeHidDevice device;
    return Lookup(handle, device) && CopyString(device.serial, buffer, bufferBytes);
}

BOOLEAN NTAPI HidD_GetIndexedString(HANDLE handle, ULONG index, PVOID buffer, ULONG bufferBytes) {
    FakeHidDevice device;
    if (!Lookup(handle, device)) return FALSE;
    if (index != 0 || device.language == 0) {
        SetLastError(ERROR_GEN_FAILURE);
        return FALSE;
    }
    const wchar_t languages[] = {static_cast<wchar_t>(device.language), 0};
    return CopyString(languages, buffer, bufferBytes);
}

}  // extern "C"
