// Keys injected with XTest must reach the window named in the shared block as
// the hook's messages, each once, and only while the hook is on.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "hookmod/tests/HookReceiver.h"
#include "hookmod/tests/LoadedHook.h"

namespace hooktest {
namespace {

// X keycodes (evdev + 8).
constexpr std::uint8_t kCtrlL = 37, kA = 38, kB = 56, kNumLock = 77, kF12 = 96,
                       kKpEnter = 104, kCtrlR = 105, kPrint = 107, kPause = 127,
                       kSuperL = 133, kSuperR = 134, kMenu = 135,
                       kNoScanCode = 248;  // evdev 240, KEY_UNKNOWN

constexpr HookMsg kF12Down{0x1400, 256, 0x00580001};
constexpr HookMsg kF12Up{0x1400, 257, 0xC0580001};

class HookDelivery : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(receiver_.Open(error)) << error;
        HookReceiver::Publish(receiver_.Window());
        hook_ = std::make_unique<LoadedHook>(HOOKMOD_VARIANT_PATH);
        ASSERT_TRUE(hook_->ok()) << dlerror();
    }
    void TearDown() override {
        hook_.reset();
        HookReceiver::RemoveBlock();
    }

    // Taps F12 and expects its two messages to be the very next ones: whatever
    // was injected before it produced nothing.
    void ExpectMarkerNext() {
        receiver_.Tap(kF12);
        EXPECT_EQ(receiver_.Next(), kF12Down);
        EXPECT_EQ(receiver_.Next(), kF12Up);
    }

    HookReceiver receiver_;
    std::unique_ptr<LoadedHook> hook_;
};

TEST_F(HookDelivery, CtrlAGivesFourKeyboardMessages) {
    hook_->On();
    receiver_.Key(kCtrlL, true);
    receiver_.Key(kA, true);
    receiver_.Key(kA, false);
    receiver_.Key(kCtrlL, false);
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 256, 0x001D0001}));
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 256, 0x001E0001}));
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 257, 0xC01E0001}));
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 257, 0xC01D0001}));
    ExpectMarkerNext();
}

// Unloading while the hook thread still works through keys must end the
// thread before anything it reads is destroyed (run under ASan).
TEST_F(HookDelivery, UnloadWhileKeysAreInFlight) {
    for (int round = 0; round < 20; ++round) {
        hook_ = std::make_unique<LoadedHook>(HOOKMOD_VARIANT_PATH);
        ASSERT_TRUE(hook_->ok()) << dlerror();
        hook_->On();
        for (int i = 0; i < 10; ++i) receiver_.Tap(kB);
        hook_.reset();
    }
    while (receiver_.Next(std::chrono::milliseconds(200))) {
    }
    hook_ = std::make_unique<LoadedHook>(HOOKMOD_VARIANT_PATH);
    hook_->On();
    ExpectMarkerNext();
}

TEST_F(HookDelivery, ExtendedFlagFollowsTheKeyPosition) {
    hook_->On();
    for (std::uint8_t key : {kCtrlR, kKpEnter, kPrint, kNumLock, kPause}) receiver_.Tap(key);
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 256, 0x011D0001}));  // right Ctrl
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 257, 0xC11D0001}));
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 256, 0x011C0001}));  // keypad Enter
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 257, 0xC11C0001}));
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 256, 0x01370001}));  // Print Screen
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 257, 0xC1370001}));
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 256, 0x01450001}));  // Num Lock
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 257, 0xC1450001}));
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 256, 0x00450001}));  // Pause
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 257, 0xC0450001}));
    // Num Lock toggled a light; toggle it back for the tests after this one.
    receiver_.Tap(kNumLock);
}

TEST_F(HookDelivery, WindowsAndMenuKeysHaveMessagesOfTheirOwn) {
    hook_->On();
    for (std::uint8_t key : {kSuperL, kSuperR, kMenu}) receiver_.Tap(key);
    for (std::uint32_t message : {0x2400u, 0x3400u, 0x3500u}) {
        const auto down = receiver_.Next();
        const auto up = receiver_.Next();
        ASSERT_TRUE(down && up);
        EXPECT_EQ(down->message, message);
        EXPECT_EQ(down->wParam, 256u);
        EXPECT_EQ(up->message, message);
        EXPECT_EQ(up->wParam, 257u);
    }
    ExpectMarkerNext();
}

TEST_F(HookDelivery, PressOfAKeyAlreadyDownIsARepeat) {
    hook_->On();
    receiver_.Key(kA, true);
    receiver_.Key(kA, true);
    receiver_.Key(kA, false);
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 256, 0x001E0001}));
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 256, 0x401E0001}));
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 257, 0xC01E0001}));
    ExpectMarkerNext();
}

TEST_F(HookDelivery, KeyHeldBeforeHookOnIsReleasedOnce) {
    receiver_.Key(kA, true);
    hook_->On();
    receiver_.Key(kA, false);
    receiver_.Key(kA, false);
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 257, 0xC01E0001}));
    ExpectMarkerNext();
}

TEST_F(HookDelivery, ReleaseOfAKeyNotDownIsNotReported) {
    hook_->On();
    receiver_.Key(kB, false);
    ExpectMarkerNext();
}

TEST_F(HookDelivery, KeysWithoutScanCodeAreNotReported) {
    hook_->On();
    receiver_.Tap(kNoScanCode);
    ExpectMarkerNext();
}

TEST_F(HookDelivery, NothingArrivesWhileOff) {
    hook_->Off();  // never on: harmless
    hook_->On();
    hook_->Off();
    receiver_.Tap(kA);
    receiver_.Tap(kCtrlL);
    hook_->On();
    ExpectMarkerNext();
}

TEST_F(HookDelivery, HookOnTwiceDeliversEachEventOnce) {
    hook_->On();
    hook_->On();
    receiver_.Tap(kA);
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 256, 0x001E0001}));
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 257, 0xC01E0001}));
    ExpectMarkerNext();
}

TEST_F(HookDelivery, MissingOrStaleWindowIdIsSurvived) {
    // HookOff returns once the keys typed before it were sent, so each block
    // content below is the one the hook used for the taps before it.
    HookReceiver::Publish(receiver_.UnusedWindowId());
    hook_->On();
    receiver_.Tap(kA);
    hook_->Off();

    HookReceiver::Publish(0);
    hook_->On();
    receiver_.Tap(kA);
    hook_->Off();

    HookReceiver::RemoveBlock();
    hook_->On();
    receiver_.Tap(kA);
    hook_->Off();

    // The hook still runs and finds the window again.
    HookReceiver::Publish(receiver_.Window());
    hook_->On();
    ExpectMarkerNext();
}

// A block that another user owns names no window: the keys typed are not
// sent to whatever window it names.
TEST_F(HookDelivery, BlockOfAnotherUserNamesNoWindow) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give the block to another user";
    auto setOwner = [](uid_t uid) {
        const int fd = shm_open(HookReceiver::BlockName().c_str(), O_RDWR, 0);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(fchown(fd, uid, uid), 0);
        close(fd);
    };
    ASSERT_NO_FATAL_FAILURE(setOwner(65534));
    hook_->On();
    receiver_.Tap(kA);
    hook_->Off();

    ASSERT_NO_FATAL_FAILURE(setOwner(geteuid()));
    hook_->On();
    ExpectMarkerNext();
}

// The library as shipped finds the window in the user's runtime folder, where
// the program puts it when there is one.
TEST_F(HookDelivery, TheShippedLibraryReadsTheBlockInTheRuntimeFolder) {
    char folder[] = "/tmp/varnok-hook-runtime-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old != nullptr ? old : "";
    setenv("XDG_RUNTIME_DIR", folder, 1);
    const std::string file = std::string(folder) + "/TestHook-" + std::getenv("DISPLAY");
    const int fd = open(file.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    const std::uint32_t id = receiver_.Window();
    EXPECT_EQ(pwrite(fd, &id, sizeof id, 0), static_cast<ssize_t>(sizeof id));
    close(fd);
    hook_.reset();
    {
        LoadedHook shipped(HOOKMOD_LIBRARY_PATH);
        ASSERT_TRUE(shipped.ok()) << dlerror();
        shipped.On();
        ExpectMarkerNext();
        shipped.Off();
    }
    if (old != nullptr) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
    unlink(file.c_str());
    rmdir(folder);
}

TEST_F(HookDelivery, HookOffDeliversWhatCameBeforeIt) {
    hook_->On();
    receiver_.Tap(kA);
    hook_->Off();
    HookReceiver::RemoveBlock();  // anything the hook had not sent yet is lost now
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 256, 0x001E0001}));
    EXPECT_EQ(receiver_.Next(), (HookMsg{0x1400, 257, 0xC01E0001}));
}

}  // namespace
}  // namespace hooktest
