// Counted, all-or-nothing loading of libudev, without any testbed.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include "hid/platform/linux/LinuxHidBackend.h"

namespace hid::platform::linux_ {
namespace {

bool LibraryInProcess(const char* name) {
  void* handle = dlopen(name, RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) return false;
  dlclose(handle);
  return true;
}

TEST(UdevLoading, MissingLibraryMeansNoScansAndNoNotifications) {
  LinuxHidBackend backend("libudev-absent.so.9");
  EXPECT_FALSE(backend.Load());
  EXPECT_FALSE(backend.IsLoaded());
  EXPECT_NE(backend.LoadErrorText().find("libudev-absent.so.9"), std::string::npos);
  EXPECT_EQ(backend.GetPresentInterfaces(), nullptr);
  EXPECT_EQ(backend.CreateMonitor(), nullptr);
  int error = 0;
  EXPECT_EQ(backend.Open("/dev/hidraw0", false, &error), nullptr);
  EXPECT_EQ(error, ELIBACC);
  backend.Release();  // a release without a load is harmless
  EXPECT_FALSE(backend.Load());
}

TEST(UdevLoading, OneMissingEntryUndoesTheLoad) {
  LinuxHidBackend backend(VARNOK_PARTIAL_UDEV);
  EXPECT_FALSE(backend.Load());
  EXPECT_FALSE(backend.IsLoaded());
  EXPECT_NE(backend.LoadErrorText().find("missing"), std::string::npos) << backend.LoadErrorText();
  EXPECT_FALSE(LibraryInProcess(VARNOK_PARTIAL_UDEV)) << "the library was unloaded again";
  EXPECT_EQ(backend.GetPresentInterfaces(), nullptr);
}

TEST(UdevLoading, LoadsAreCountedAndTheLastReleaseFreesTheLibrary) {
  ASSERT_FALSE(LibraryInProcess("libudev.so.1")) << "nothing else in this test loads libudev";
  LinuxHidBackend backend;
  ASSERT_TRUE(backend.Load()) << backend.LoadErrorText();
  EXPECT_TRUE(LibraryInProcess("libudev.so.1"));
  EXPECT_TRUE(backend.Load());
  backend.Release();
  EXPECT_TRUE(backend.IsLoaded());
  EXPECT_NE(backend.GetPresentInterfaces(), nullptr);
  backend.Release();
  EXPECT_FALSE(backend.IsLoaded());
  EXPECT_EQ(backend.GetPresentInterfaces(), nullptr);
  EXPECT_FALSE(LibraryInProcess("libudev.so.1"));

  // Loading again after the count reached 0 loads afresh.
  ASSERT_TRUE(backend.Load());
  EXPECT_NE(backend.GetPresentInterfaces(), nullptr);
  backend.Release();
}

}  // namespace
}  // namespace hid::platform::linux_
