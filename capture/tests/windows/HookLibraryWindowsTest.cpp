// Loading Hookmod.dll and publishing the window handle in the paging-file
// mapping, against stand-in libraries built beside this test.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "capture/ExecutableFolder.h"
#include "capture/HookLibrary.h"
#include "capture/windows/WideText.h"
#include "hookmod/windows/HookMapping.h"

namespace {

using capture::HookLibrary;
using capture::HookLinkStatus;
namespace fs = std::filesystem;

fs::path Native(const std::string& path) { return fs::path(capture::WideFromUtf8(path)); }

// The fixture folders as the running program sees them (CMake gives the build's path).
std::string FixtureFolder(const char* name) {
    const fs::path tests = Native(capture::ExecutableFolder());
    return capture::Utf8FromWide((tests / L"capture-fixtures" / capture::WideFromUtf8(name)).wstring());
}

// Reads a counter of a stand-in library that HookLibrary has loaded.
int Counter(const std::string& folder, const char* symbol) {
    HMODULE module = GetModuleHandleW((Native(folder) / L"Hookmod.dll").wstring().c_str());
    if (module == nullptr) return -1;
    auto fn = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(module, symbol)));
    return fn ? fn() : -1;
}

class HookLink : public ::testing::Test {
protected:
    void SetUp() override { name_ = "Local\\VarnokCaptureTest." + std::to_string(GetCurrentProcessId()); }

    bool MappingExists(const std::string& name) const {
        HANDLE h = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
        if (h != nullptr) CloseHandle(h);
        return h != nullptr;
    }
    std::uint32_t MappedId(const std::string& name) const {
        HANDLE h = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
        if (h == nullptr) return 0;
        std::uint32_t id = 0;
        if (void* view = MapViewOfFile(h, FILE_MAP_READ, 0, 0, 4)) {
            std::memcpy(&id, view, sizeof id);
            UnmapViewOfFile(view);
        }
        CloseHandle(h);
        return id;
    }

    std::string name_;
    const std::string recording_ = FixtureFolder("RecordingHook");
    const std::string onOnly_ = FixtureFolder("HookOnOnly");
};

TEST_F(HookLink, MissingLibraryStopsBeforeEverythingElse) {
    HookLibrary hook;
    EXPECT_EQ(hook.Load(FixtureFolder(""), 0x00400001, name_), HookLinkStatus::LibraryNotFound);
    EXPECT_NE(hook.FailureDetail().find("Hookmod.dll"), std::string::npos) << hook.FailureDetail();
    EXPECT_FALSE(hook.HasHooks());
    hook.CallHookOn();
    hook.CallHookOff();
    EXPECT_FALSE(MappingExists(name_));
}

TEST_F(HookLink, LibraryLackingAnExportCallsNothingAndMakesNoMapping) {
    HookLibrary hook;
    EXPECT_EQ(hook.Load(onOnly_, 0x00400001, name_), HookLinkStatus::FunctionsMissing);
    EXPECT_FALSE(hook.HasHooks());
    hook.CallHookOn();
    EXPECT_EQ(Counter(onOnly_, "FixtureOnCalls"), 0);
    EXPECT_FALSE(MappingExists(name_));
}

TEST_F(HookLink, LoadPublishesTheWindowHandleAndASecondInstanceOverwritesIt) {
    const int onBefore = std::max(Counter(recording_, "FixtureOnCalls"), 0);
    const int offBefore = std::max(Counter(recording_, "FixtureOffCalls"), 0);
    HookLibrary first;
    ASSERT_EQ(first.Load(recording_, 0x00A0002B, name_), HookLinkStatus::Ok) << first.FailureDetail();
    EXPECT_TRUE(first.HasHooks());
    EXPECT_EQ(Counter(recording_, "FixtureOnCalls"), onBefore);  // loading calls neither
    EXPECT_EQ(MappedId(name_), 0x00A0002Bu);
    first.CallHookOn();
    first.CallHookOff();
    EXPECT_EQ(Counter(recording_, "FixtureOnCalls"), onBefore + 1);
    EXPECT_EQ(Counter(recording_, "FixtureOffCalls"), offBefore + 1);

    HookLibrary second;  // another instance: the same mapping, the newer handle
    ASSERT_EQ(second.Load(recording_, 0x02000002, name_), HookLinkStatus::Ok);
    EXPECT_EQ(MappedId(name_), 0x02000002u);
}

// The program's own mapping is the per-session "Local\TestHook" that
// Hookmod.dll reads.
TEST_F(HookLink, WithoutANameTheMappingIsTheSessionsTestHook) {
    HookLibrary hook;
    ASSERT_EQ(hook.Load(recording_, 0x0003002C), HookLinkStatus::Ok) << hook.FailureDetail();
    EXPECT_STREQ(hookmsg::windows::kHookMappingName, "Local\\TestHook");
    EXPECT_EQ(MappedId("Local\\TestHook"), 0x0003002Cu);
}

TEST_F(HookLink, MappingFailureKeepsTheHooks) {
    HookLibrary hook;
    EXPECT_EQ(hook.Load(recording_, 1, "Local\\no such namespace\\TestHook"), HookLinkStatus::BlockFailed);
    EXPECT_TRUE(hook.HasHooks());
    EXPECT_FALSE(hook.FailureDetail().empty());
}

// A folder name outside the ANSI code page (a user name in Chinese, say).
TEST_F(HookLink, LoadsFromAFolderWithAnyCharacters) {
    const fs::path folder = Native(capture::ExecutableFolder()) / L"capture-fixtures" / L"\u952E\u76D8\u94A9\u5B50";
    fs::create_directories(folder);
    std::error_code ignored;
    fs::remove(folder / L"Hookmod.dll", ignored);  // a copy of an earlier run
    fs::copy_file(Native(recording_) / L"Hookmod.dll", folder / L"Hookmod.dll");
    HookLibrary hook;
    EXPECT_EQ(hook.Load(capture::Utf8FromWide(folder.wstring()), 7, name_), HookLinkStatus::Ok)
        << hook.FailureDetail();
    EXPECT_TRUE(hook.HasHooks());
}

TEST(ExecutableFolder, IsTheFolderOfTheRunningProgram) {
    const std::string folder = capture::ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_TRUE(fs::exists(Native(folder) / L"capture_test.exe")) << folder;
}

}  // namespace
