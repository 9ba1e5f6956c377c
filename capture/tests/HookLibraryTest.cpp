// Loading the hook library and publishing the window id, against stand-in
// libraries built beside this test.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "capture/ExecutableFolder.h"
#include "capture/HookLibrary.h"
#include "hookmod/PosixHookBlockName.h"

namespace {

using capture::HookLibrary;
using capture::HookLinkStatus;

const std::string kFixtures = CAPTURE_FIXTURE_DIR;
const std::string kRecording = kFixtures + "/RecordingHook";
const std::string kOnOnly = kFixtures + "/HookOnOnly";
const std::string kRefused = kFixtures + "/RefusedHook";

// Reads a counter of a stand-in library that HookLibrary has loaded.
int Counter(const std::string& folder, const char* symbol) {
    void* h = dlopen((folder + "/libHookmod.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (h == nullptr) return -1;
    auto fn = reinterpret_cast<int (*)()>(dlsym(h, symbol));
    const int value = fn ? fn() : -1;
    dlclose(h);  // drops only this lookup's reference
    return value;
}

class HookLink : public ::testing::Test {
protected:
    void SetUp() override {
        block_ = "/VarnokCaptureTest." + std::to_string(getpid());
        shm_unlink(block_.c_str());
    }
    void TearDown() override { shm_unlink(block_.c_str()); }

    bool BlockExists() const {
        const int fd = shm_open(block_.c_str(), O_RDONLY, 0);
        if (fd >= 0) close(fd);
        return fd >= 0;
    }
    off_t BlockSize() const {
        struct stat st {};
        const int fd = shm_open(block_.c_str(), O_RDONLY, 0);
        if (fd < 0) return -1;
        fstat(fd, &st);
        close(fd);
        return st.st_size;
    }
    std::uint32_t BlockId() const {
        std::uint32_t id = 0;
        const int fd = shm_open(block_.c_str(), O_RDONLY, 0);
        if (fd < 0) return 0;
        if (pread(fd, &id, sizeof id, 0) != sizeof id) id = 0;
        close(fd);
        return id;
    }
    void MakeBlock(off_t size, mode_t mode = 0600) {
        const int fd = shm_open(block_.c_str(), O_CREAT | O_RDWR, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, size), 0);
        ASSERT_EQ(fchmod(fd, mode), 0);  // past the umask
        close(fd);
    }
    mode_t BlockMode() const {
        struct stat st {};
        const int fd = shm_open(block_.c_str(), O_RDONLY, 0);
        if (fd < 0) return 0;
        fstat(fd, &st);
        close(fd);
        return st.st_mode & 0777;
    }

    std::string block_;
};

TEST_F(HookLink, MissingLibraryStopsBeforeEverythingElse) {
    HookLibrary hook;
    EXPECT_EQ(hook.Load(kFixtures, 0x00400001, block_), HookLinkStatus::LibraryNotFound);
    EXPECT_FALSE(hook.FailureDetail().empty());
    EXPECT_FALSE(hook.HasHooks());
    hook.CallHookOn();
    hook.CallHookOff();
    EXPECT_FALSE(BlockExists());
}

TEST_F(HookLink, LibraryLackingAnExportCallsNothingAndMakesNoBlock) {
    HookLibrary hook;
    EXPECT_EQ(hook.Load(kOnOnly, 0x00400001, block_), HookLinkStatus::FunctionsMissing);
    EXPECT_FALSE(hook.HasHooks());
    hook.CallHookOn();
    hook.CallHookOff();
    EXPECT_EQ(Counter(kOnOnly, "FixtureOnCalls"), 0);
    EXPECT_FALSE(BlockExists());
}

TEST_F(HookLink, LoadPublishesTheWindowIdAndCallsNothing) {
    // The stand-in stays loaded once loaded, so count from what it has now.
    const int onBefore = std::max(Counter(kRecording, "FixtureOnCalls"), 0);
    const int offBefore = std::max(Counter(kRecording, "FixtureOffCalls"), 0);
    HookLibrary hook;
    ASSERT_EQ(hook.Load(kRecording, 0x00A0002B, block_), HookLinkStatus::Ok)
        << hook.FailureDetail();
    EXPECT_TRUE(hook.HasHooks());
    EXPECT_EQ(Counter(kRecording, "FixtureOnCalls"), onBefore);
    EXPECT_EQ(Counter(kRecording, "FixtureOffCalls"), offBefore);
    EXPECT_EQ(BlockSize(), 4);
    EXPECT_EQ(BlockId(), 0x00A0002Bu);

    hook.CallHookOn();
    hook.CallHookOn();
    hook.CallHookOff();
    EXPECT_EQ(Counter(kRecording, "FixtureOnCalls"), onBefore + 2);
    EXPECT_EQ(Counter(kRecording, "FixtureOffCalls"), offBefore + 1);
}

// Each HookOn names this window again (another instance may have named its
// own since), and a hook the library could not put in is no success.
TEST_F(HookLink, HookOnPublishesTheIdAgainAndReportsAHookThatIsNotIn) {
    HookLibrary hook;
    ASSERT_EQ(hook.Load(kRecording, 0x00A0002B, block_), HookLinkStatus::Ok) << hook.FailureDetail();
    HookLibrary other;
    ASSERT_EQ(other.Load(kRecording, 0x00B0003C, block_), HookLinkStatus::Ok) << other.FailureDetail();
    ASSERT_EQ(BlockId(), 0x00B0003Cu);
    EXPECT_TRUE(hook.CallHookOn()) << hook.HookOnFailure();
    EXPECT_TRUE(hook.HookOnFailure().empty());
    EXPECT_EQ(BlockId(), 0x00A0002Bu);
    hook.CallHookOff();

    HookLibrary refused;
    ASSERT_EQ(refused.Load(kRefused, 0x00A0002B, block_), HookLinkStatus::Ok) << refused.FailureDetail();
    EXPECT_FALSE(refused.CallHookOn());
    EXPECT_NE(refused.HookOnFailure().find("the keyboard hook could not be installed"), std::string::npos)
        << refused.HookOnFailure();
}

TEST_F(HookLink, ASecondInstanceReusesTheBlockAndOverwritesTheId) {
    MakeBlock(16);  // larger than needed: kept as it is
    HookLibrary first;
    ASSERT_EQ(first.Load(kRecording, 0x01000001, block_), HookLinkStatus::Ok);
    EXPECT_EQ(BlockId(), 0x01000001u);
    HookLibrary second;
    ASSERT_EQ(second.Load(kRecording, 0x02000002, block_), HookLinkStatus::Ok);
    EXPECT_EQ(BlockId(), 0x02000002u);
    EXPECT_EQ(BlockSize(), 16);
}

TEST_F(HookLink, AnEmptyBlockIsGrownToHoldTheId) {
    MakeBlock(0);
    HookLibrary hook;
    ASSERT_EQ(hook.Load(kRecording, 0x03000003, block_), HookLinkStatus::Ok);
    EXPECT_EQ(BlockSize(), 4);
    EXPECT_EQ(BlockId(), 0x03000003u);
}

// A block of this user left open to others (by an older version, or by
// hand) is reused and closed to them again: nobody else may shrink or fill it.
TEST_F(HookLink, LeftOverBlockOfThisUserIsReusedAndClosedToOthers) {
    MakeBlock(0, 0666);
    HookLibrary hook;
    ASSERT_EQ(hook.Load(kRecording, 0x04000004, block_), HookLinkStatus::Ok) << hook.FailureDetail();
    EXPECT_EQ(BlockMode(), 0600u);
    EXPECT_EQ(BlockSize(), 4);
    EXPECT_EQ(BlockId(), 0x04000004u);
}

// A block of that name owned by someone else is not written to: the window
// id would go where another user reads (and writes) it.
TEST_F(HookLink, BlockOfAnotherUserIsRefused) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to make a block of another user";
    MakeBlock(4, 0666);
    const int fd = shm_open(block_.c_str(), O_RDWR, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fchown(fd, 65534, 65534), 0);
    close(fd);
    HookLibrary hook;
    EXPECT_EQ(hook.Load(kRecording, 0x05000005, block_), HookLinkStatus::BlockFailed);
    EXPECT_NE(hook.FailureDetail().find("another user"), std::string::npos) << hook.FailureDetail();
    EXPECT_TRUE(hook.HasHooks());
    EXPECT_EQ(BlockId(), 0u);
}

// One block per user and display, named the same way by the program and
// the hook library.
TEST(HookBlockName, IsPerUserAndDisplay) {
    EXPECT_EQ(hookmsg::HookWindowBlockName(1000, ":0"), "/TestHook-1000-:0");
    EXPECT_NE(hookmsg::HookWindowBlockName(1001, ":0"), hookmsg::HookWindowBlockName(1000, ":0"));
    EXPECT_NE(hookmsg::HookWindowBlockName(1000, ":1"), hookmsg::HookWindowBlockName(1000, ":0"));
    EXPECT_EQ(hookmsg::HookWindowBlockName(0, "/tmp/launch-x/org.x:0"), "/TestHook-0-_tmp_launch-x_org.x:0");
    EXPECT_EQ(hookmsg::HookWindowBlockName(7, ""), "/TestHook-7-");
}

// Sets an environment variable for one test and puts the old value back.
class EnvOverride {
public:
    EnvOverride(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~EnvOverride() {
        if (saved_) setenv(name_, saved_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(HookBlockName, LivesInTheUsersOwnRuntimeFolderWhereThereIsOne) {
    EXPECT_EQ(hookmsg::HookWindowBlockName(1000, ":0", "/run/user/1000"), "/run/user/1000/TestHook-:0");
    EXPECT_EQ(hookmsg::HookWindowBlockName(1000, "host/x:1", "/run/user/1000"), "/run/user/1000/TestHook-host_x:1");

    char folder[] = "/tmp/varnok-runtime-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);  // 0700, this user's
    {
        EnvOverride runtime("XDG_RUNTIME_DIR", std::string(folder) + "/");
        EXPECT_EQ(hookmsg::PrivateRuntimeDir(), folder);
        ASSERT_EQ(chmod(folder, 0755), 0);
        EXPECT_EQ(hookmsg::PrivateRuntimeDir(), "");  // others may look in
        ASSERT_EQ(chmod(folder, 0700), 0);
    }
    {
        EnvOverride runtime("XDG_RUNTIME_DIR", "relative/dir");
        EXPECT_EQ(hookmsg::PrivateRuntimeDir(), "");
    }
    rmdir(folder);
}

// Another user who makes this user's shared memory block first locks out
// nobody who has a runtime folder.
TEST(HookBlockName, AnotherUsersSharedBlockDoesNotLockOutARuntimeFolder) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to make a block of another user";
    const std::string display = ":varnok-capture-test-" + std::to_string(getpid());
    EnvOverride displayName("DISPLAY", display);
    const std::string shared = hookmsg::HookWindowBlockName(geteuid(), display);
    const int taken = shm_open(shared.c_str(), O_CREAT | O_EXCL | O_RDWR, 0644);
    ASSERT_GE(taken, 0);
    ASSERT_EQ(fchown(taken, 65534, 65534), 0);
    close(taken);

    char folder[] = "/tmp/varnok-runtime-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    {
        EnvOverride runtime("XDG_RUNTIME_DIR", folder);
        HookLibrary hook;
        EXPECT_EQ(hook.Load(kRecording, 0x06000006, ""), HookLinkStatus::Ok) << hook.FailureDetail();
        const std::string file = std::string(folder) + "/TestHook-" + display;
        EXPECT_EQ(hookmsg::CurrentHookWindowBlockName(), file);
        std::uint32_t id = 0;
        const int fd = open(file.c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(pread(fd, &id, sizeof id, 0), static_cast<ssize_t>(sizeof id));
        close(fd);
        EXPECT_EQ(id, 0x06000006u);
        struct stat st {};
        ASSERT_EQ(stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        unlink(file.c_str());
    }
    rmdir(folder);
    shm_unlink(shared.c_str());
}

TEST_F(HookLink, BlockFailureKeepsTheHooks) {
    HookLibrary hook;
    EXPECT_EQ(hook.Load(kRecording, 1, "/no/such/block"), HookLinkStatus::BlockFailed);
    EXPECT_TRUE(hook.HasHooks());
    EXPECT_FALSE(hook.FailureDetail().empty());
}

TEST(HookLinkMessages, EachStartupFailureHasItsOwnText) {
    EXPECT_EQ(capture::StartupMessage(HookLinkStatus::LibraryNotFound),
              "\xE6\x9C\xAA\xE5\x8F\x91\xE7\x8E\xB0\xE9\x94\xAE\xE7\x9B\x98\xE9\x92\xA9"
              "\xE5\xAD\x90" "DLL");
    EXPECT_EQ(capture::StartupMessage(HookLinkStatus::FunctionsMissing),
              "\xE5\x9C\xA8\xE7\xBB\x99\xE5\xAE\x9A\xE7\x9A\x84 DLL\xE4\xB8\xAD\xE6\x9C\xAA"
              "\xE5\x8F\x91\xE7\x8E\xB0\xE6\x89\x80\xE9\x9C\x80\xE7\x9A\x84\xE5\x87\xBD"
              "\xE6\x95\xB0");
    EXPECT_EQ(capture::StartupMessage(HookLinkStatus::BlockFailed),
              "\xE5\x88\x9B\xE5\xBB\xBA\xE5\x86\x85\xE5\xAD\x98\xE6\x98\xA0\xE5\xB0\x84"
              "\xE6\x96\x87\xE4\xBB\xB6\xE6\x97\xB6\xE5\x87\xBA\xE9\x94\x99");
    EXPECT_EQ(capture::StartupMessage(HookLinkStatus::Ok), "");
    EXPECT_EQ(capture::StartupMessage(HookLinkStatus::WindowIdNotWritten), "");
}

TEST(ExecutableFolder, IsTheRealFolderOfTheRunningProgram) {
    EXPECT_EQ(capture::ExecutableFolder(),
              std::filesystem::canonical(CAPTURE_TEST_BINARY_DIR).string());
}

}  // namespace
