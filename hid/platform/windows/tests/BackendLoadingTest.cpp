// Loading setupapi.dll and hid.dll: by name, counted, all or nothing.
#include <filesystem>

#include "hid/platform/windows/tests/FakeBusFixture.h"

namespace hid::platform::windows::test {
namespace {

class BackendLoadingTest : public FakeBusTest {};

TEST_F(BackendLoadingTest, NothingBeforeLoadThenBothLibrariesUntilTheLastRelease) {
  EXPECT_FALSE(backend.IsLoaded());
  EXPECT_EQ(backend.GetPresentInterfaces(), nullptr);
  EXPECT_EQ(backend.CreateMonitor(), nullptr);
  int error = 0;
  EXPECT_EQ(backend.Open(Plug(PedalDevice()).path, false, &error), nullptr);
  EXPECT_NE(error, 0);

  ASSERT_TRUE(backend.Load()) << backend.ErrorText();
  EXPECT_TRUE(ModuleLoaded(setupApi_));
  EXPECT_TRUE(ModuleLoaded(hid_));
  ASSERT_TRUE(backend.Load());  // counted: succeeds at once
  backend.Release();
  EXPECT_TRUE(backend.IsLoaded());
  EXPECT_NE(backend.GetPresentInterfaces(), nullptr);
  backend.Release();
  EXPECT_FALSE(backend.IsLoaded());
  EXPECT_EQ(backend.GetPresentInterfaces(), nullptr);
  EXPECT_FALSE(ModuleLoaded(setupApi_));
  EXPECT_FALSE(ModuleLoaded(hid_));
  backend.Release();  // below zero: nothing
  ASSERT_TRUE(backend.Load());
  backend.Release();
}

// A handle keeps the libraries it calls into until it closes.
TEST_F(BackendLoadingTest, AnOpenHandleKeepsTheLibrariesLoaded) {
  const PluggedDevice pedal = Plug(PedalDevice());
  ASSERT_TRUE(backend.Load());
  auto handle = backend.Open(pedal.path, false);
  ASSERT_NE(handle, nullptr);
  backend.Release();
  EXPECT_FALSE(backend.IsLoaded());
  HIDD_ATTRIBUTES attributes;
  EXPECT_TRUE(handle->GetAttributes(attributes));
  EXPECT_EQ(attributes.VendorID, 0x16C0);
  handle.reset();
  EXPECT_FALSE(ModuleLoaded(hid_));
}

TEST_F(BackendLoadingTest, AMissingLibraryOrEntryLoadsNothing) {
  const std::string missing = FakeLibrary("no_such_library.dll");
  const std::string withoutCaps = FakeLibrary("varnok_fake_hid_nocaps.dll");
  struct Case {
    std::string setupApi, hid, named;
  };
  for (const Case& c : {Case{missing, hid_, "no_such_library.dll"}, Case{setupApi_, missing, "no_such_library.dll"},
                        Case{setupApi_, withoutCaps, "HidP_GetCaps"}}) {
    SCOPED_TRACE(c.setupApi + " + " + c.hid);
    WindowsHidBackend partial(c.setupApi, c.hid);
    EXPECT_FALSE(partial.Load());
    EXPECT_FALSE(partial.IsLoaded());
    EXPECT_NE(partial.ErrorText().find(c.named), std::string::npos) << partial.ErrorText();
    EXPECT_EQ(partial.GetPresentInterfaces(), nullptr);
    EXPECT_EQ(partial.CreateMonitor(), nullptr);
    EXPECT_FALSE(ModuleLoaded(setupApi_));  // undone: freed again
    EXPECT_FALSE(ModuleLoaded(withoutCaps));
  }
}

// The defaults are the system's own libraries, every entry found in them,
// taken from the system folder even with a planted copy beside the program.
TEST_F(BackendLoadingTest, TheSystemsLibrariesByNameFromTheSystemFolderOnly) {
  const std::filesystem::path planted = std::filesystem::path(TestFolder()) / "hid.dll";
  std::error_code ignored;
  std::filesystem::remove(planted, ignored);  // left by an earlier run that failed
  std::filesystem::copy_file(hid_, planted);
  WindowsHidBackend system;
  const bool loaded = system.Load();
  char loadedFrom[MAX_PATH] = {};
  if (HMODULE module = GetModuleHandleA("hid.dll")) GetModuleFileNameA(module, loadedFrom, sizeof loadedFrom);
  EXPECT_FALSE(ModuleLoaded(planted.string()));
  if (loaded) {
    // The system lists HID interfaces of its own; each has a path.
    auto snapshot = system.GetPresentInterfaces();
    ASSERT_NE(snapshot, nullptr);
    InterfaceDetail detail;
    for (std::uint32_t i = 0; snapshot->EnumDeviceInterface(i, detail); ++i) EXPECT_FALSE(detail.DevicePath.empty());
    system.Release();
  }
  std::filesystem::remove(planted, ignored);
  ASSERT_TRUE(loaded) << system.ErrorText();
  EXPECT_NE(std::string(loadedFrom).find("system32"), std::string::npos) << loadedFrom;
}

}  // namespace
}  // namespace hid::platform::windows::test
