// The fake HID devices that the fake setupapi and hid DLLs present, kept in
// varnok_fake_hid_bus.dll: the test plugs and unplugs them, the two fakes
// list and describe them. Each device's I/O goes over a named pipe of its own
// (its DevicePath), served by a thread of the bus: a pedal's output reports go
// to the firmware model (sim/) and its answers come back as input reports.
// A C interface: every module links its own C++ runtime.
#pragma once

#include <stdint.h>
#include <wchar.h>

#ifdef VARNOK_FAKE_HID_BUS_BUILD
#define FAKE_HID_BUS_API extern "C" __declspec(dllexport)
#else
#define FAKE_HID_BUS_API extern "C" __declspec(dllimport)
#endif

struct FakeHidDevice {
  uint32_t devInst;  // 0: a new number
  uint16_t vendorId;
  uint16_t productId;
  uint16_t version;
  uint16_t usagePage;
  uint16_t usage;
  uint16_t inputLength;  // report id byte included
  uint16_t outputLength;
  uint16_t featureLength;
  wchar_t product[64];       // empty: the request fails
  wchar_t serial[64];        // empty: the request fails
  uint16_t language;         // string 0 (one LANGID); 0: the request fails
  int32_t readWriteRefused;  // opens only without access rights
  int32_t detailFails;       // its interface detail cannot be read
  int32_t firmware;          // output reports go to the pedal's firmware model
};

struct FakeHidEntry {
  FakeHidDevice device;
  char path[128];
};

// The test's side. Plug returns the device's id (0 on failure) and its
// DevicePath in `path`.
FAKE_HID_BUS_API int FakeHidBus_Plug(const FakeHidDevice* device, char* path, uint32_t pathSize);
// Closes every handle's pipe end: outstanding reads fail, later opens fail.
FAKE_HID_BUS_API int FakeHidBus_Unplug(int id);
// Sends an input report to every open read handle; returns to how many.
FAKE_HID_BUS_API int FakeHidBus_SendInput(int id, const uint8_t* report, uint32_t length);
// Open handles that have never written (read handles, and main handles not yet written to).
FAKE_HID_BUS_API int FakeHidBus_Listeners(int id);
FAKE_HID_BUS_API uint32_t FakeHidBus_OutputReports(int id);
// The firmware model's assignment of pedal 0..2 (modifier, three keys).
FAKE_HID_BUS_API int FakeHidBus_Slot(int id, int pedal, uint8_t slot[4]);
// Makes SetupDiGetClassDevsA fail (INVALID_HANDLE_VALUE).
FAKE_HID_BUS_API void FakeHidBus_SetSnapshotFails(int fails);
// Unplugs everything.
FAKE_HID_BUS_API void FakeHidBus_Reset(void);

// The fakes' side.
FAKE_HID_BUS_API int FakeHidBus_SnapshotFails(void);
// The present devices in plug order, at most `capacity`; returns how many there are.
FAKE_HID_BUS_API int FakeHidBus_List(FakeHidEntry* out, int capacity);
// The present device whose pipe has this name (as the file system names a
// pipe handle: "\varnok-fake-hid-..."); 0 when none.
FAKE_HID_BUS_API int FakeHidBus_Find(const wchar_t* pipeName, FakeHidDevice* out);
