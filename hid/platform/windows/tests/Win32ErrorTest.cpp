// Win32 error codes as the device layer sees them: ENODEV (the device is
// gone, a reader stops trying) only for the codes that say so.
#include <gtest/gtest.h>
#include <windows.h>

#include <cerrno>

#include "hid/platform/windows/Win32Error.h"

namespace hid::platform::windows::test {
namespace {

TEST(Win32ErrorTest, OnlyCodesThatSayTheDeviceIsGoneAreFinal) {
  struct Case {
    DWORD code;
    int errnoValue;
  };
  const Case cases[] = {
      {ERROR_DEVICE_NOT_CONNECTED, ENODEV},
      {ERROR_FILE_NOT_FOUND, ENODEV},
      {ERROR_DEV_NOT_EXIST, ENODEV},
      // A reset or stalled device: worth another read.
      {ERROR_GEN_FAILURE, EIO},
      {ERROR_ACCESS_DENIED, EACCES},
      {ERROR_SHARING_VIOLATION, EBUSY},
      {ERROR_OPERATION_ABORTED, ECANCELED},
      {ERROR_SUCCESS, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrnoFromWin32(c.code), c.errnoValue) << "Win32 error " << c.code;
}

}  // namespace
}  // namespace hid::platform::windows::test
