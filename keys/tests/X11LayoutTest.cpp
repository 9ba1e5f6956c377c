// The X server's layout followed as it changes: setxkbmap loads another
// keymap, and a group lock switches between the groups of one keymap. Runs
// on an X server of its own (run-under-xvfb.sh); skipped without one.
#include "keys/layout/X11Layout.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <xcb/xcb.h>
// xcb/xkb.h names a field "explicit", a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <chrono>
#include <cstdlib>
#include <string>

#include "keys/KeyNaming.h"

namespace {

constexpr int kUsageY = 28;

bool SetKeymap(const std::string& layouts) {
    const std::string command = "setxkbmap -layout " + layouts + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

void LockGroup(int group) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    ASSERT_EQ(xcb_connection_has_error(connection), 0);
    xcb_xkb_use_extension_reply_t* use =
        xcb_xkb_use_extension_reply(connection, xcb_xkb_use_extension(connection, 1, 0), nullptr);
    ASSERT_NE(use, nullptr);
    std::free(use);
    xcb_generic_error_t* error = xcb_request_check(
        connection, xcb_xkb_latch_lock_state_checked(connection, XCB_XKB_ID_USE_CORE_KBD, 0, 0, 1,
                                                     static_cast<std::uint8_t>(group), 0, 0, 0));
    EXPECT_EQ(error, nullptr);
    std::free(error);
    xcb_disconnect(connection);
}

class X11LayoutTest : public testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
        if (std::system("command -v setxkbmap >/dev/null") != 0) GTEST_SKIP() << "no setxkbmap";
        ASSERT_TRUE(SetKeymap("us"));
        layout_ = keys::X11Layout::Connect();
        ASSERT_NE(layout_, nullptr);
    }
    void TearDown() override { SetKeymap("us"); }

    // Handles the server's events until the key at US position Y has
    // `name`; false when it does not within a generous limit.
    bool WaitForName(const std::string& name) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (keys::KeyNaming(layout_->Layout()).Name(kUsageY) != name) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            pollfd fd{layout_->Fd(), POLLIN, 0};
            if (poll(&fd, 1, static_cast<int>(left.count())) > 0) layout_->HandleEvents();
        }
        return true;
    }

    std::unique_ptr<keys::X11Layout> layout_;
};

TEST_F(X11LayoutTest, FollowsANewKeymap) {
    EXPECT_EQ(keys::KeyNaming(layout_->Layout()).Name(kUsageY), "Y");
    ASSERT_TRUE(SetKeymap("de"));
    EXPECT_TRUE(WaitForName("Z"));
    ASSERT_TRUE(SetKeymap("us"));
    EXPECT_TRUE(WaitForName("Y"));
}

TEST_F(X11LayoutTest, FollowsTheLockedGroup) {
    ASSERT_TRUE(SetKeymap("us,de"));
    ASSERT_TRUE(WaitForName("Y"));
    LockGroup(1);
    EXPECT_TRUE(WaitForName("Z"));
    LockGroup(0);
    EXPECT_TRUE(WaitForName("Y"));
}

}  // namespace
