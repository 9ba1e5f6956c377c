// On a real X server: the window id published at start-up names the main
// window, and hook messages sent to it as ClientMessages reach the capture.
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QComboBox>
#include <QTest>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/MainForm.h"
#include "app/TabBar.h"
#include "app/TabControl.h"
#include "app/tests/UnloadedBus.h"
#include "app/tests/HookFixtures.h"
#include "app/tests/RecordingSink.h"
#include "hookmod/HookMessages.h"
#include "hookmod/PosixHookBlockName.h"

namespace app {
namespace {

struct XcbDisconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, XcbDisconnect>;

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// What the hook library does for one key: a ClientMessage to the window.
void SendHookMessage(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t atom,
                     std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom;
    event.data.data32[hookmsg::kDataMessage] = message;
    event.data.data32[hookmsg::kDataWParam] = wParam;
    event.data.data32[hookmsg::kDataLParam] = lParam;
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
}

std::uint32_t KeyData(std::uint32_t scan, bool release)
{
    std::uint32_t data = 1u | (scan << hookmsg::kScanCodeShift);
    if (release)
        data |= hookmsg::kPreviousStateBit | hookmsg::kReleaseBit;
    return data;
}

TEST(X11CaptureTest, PublishedWindowReceivesHookMessages)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    const std::string block = test::PrivateBlockName("x11");
    test::RecordingSink sink;
    test::UnloadedBus bus;
    TMainForm form(bus);
    form.SetMessageSink(&sink);
    form.SetHookLibraryFolder(test::RecordingHookFolder());
    form.SetHookBlockName(block);
    form.RunFormCreate();
    ASSERT_TRUE(sink.shown.empty());
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    ASSERT_TRUE(test::SettleWithKeyTabs(form));

    const std::optional<std::uint32_t> published = test::BlockValue(block);
    test::RemoveBlock(block);
    ASSERT_TRUE(published.has_value());

    // A client of its own, as the hook library is: the id names a window of
    // the window's client size.
    Connection connection(xcb_connect(nullptr, nullptr));
    ASSERT_EQ(xcb_connection_has_error(connection.get()), 0);
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(
        connection.get(), xcb_get_geometry(connection.get(), *published), nullptr);
    ASSERT_NE(geometry, nullptr);
    EXPECT_EQ(geometry->width, 426);
    EXPECT_EQ(geometry->height, 338);
    std::free(geometry);

    const xcb_atom_t atom = InternAtom(connection.get(), hookmsg::kHookAtomName);
    ASSERT_NE(atom, static_cast<xcb_atom_t>(XCB_ATOM_NONE));
    form.RzEdit1->setFocus(Qt::MouseFocusReason);   // messages count while the hook is on
    SendHookMessage(connection.get(), *published, atom, hookmsg::kHookKeyMessage,
                    hookmsg::kKeyDown, KeyData(0x1D, false));   // Ctrl
    SendHookMessage(connection.get(), *published, atom, hookmsg::kHookApplication,
                    hookmsg::kKeyDown, KeyData(0x5D, false));   // Application
    SendHookMessage(connection.get(), *published, atom, hookmsg::kHookKeyMessage,
                    hookmsg::kKeyUp, KeyData(0x1D, true));

    EXPECT_TRUE(QTest::qWaitFor([&form] { return !form.RzEdit1->text().isEmpty(); }, 3000));
    EXPECT_EQ(form.RzEdit1->text(), "Ctrl+Application");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "01-65-00-00");
}

// On an X display with XInput 2 and the hook library, capture works: no
// "off" sign, and "listening" exactly while the key edit box has the focus.
// A click on the selected tab gives the box no focus, and no sign.
TEST(X11CaptureTest, ListeningSignFollowsTheKeyEditFocus)
{
    const std::string block = test::PrivateBlockName("x11-sign");
    test::RecordingSink sink;
    test::UnloadedBus bus;
    TMainForm form(bus);
    form.SetMessageSink(&sink);
    form.SetHookLibraryFolder(test::RecordingHookFolder());
    form.SetHookBlockName(block);
    form.RunFormCreate();
    test::RemoveBlock(block);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    ASSERT_TRUE(test::SettleWithKeyTabs(form));

    EXPECT_FALSE(form.CaptureOffSign->isVisible()) << form.CaptureOffSign->text().toStdString();
    EXPECT_FALSE(form.ListeningSign->isVisible());
    form.RzEdit1->setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(form.ListeningSign->isVisible());
    // During a write-in (here to no pedal) keys wait, and the sign says so.
    form.RzBitBtn1Click();
    ASSERT_TRUE(form.WriteInInFlight());
    EXPECT_FALSE(form.ListeningSign->isVisible());
    EXPECT_TRUE(form.CaptureOffSign->isVisible());
    EXPECT_EQ(form.CaptureOffSign->text(), "Keys are not taken until the write-in ends.");
    ASSERT_TRUE(QTest::qWaitFor([&form] { return !form.WriteInInFlight(); }, 10000));
    EXPECT_TRUE(form.ListeningSign->isVisible());
    EXPECT_FALSE(form.CaptureOffSign->isVisible());
    form.CBox->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(form.ListeningSign->isVisible());

    form.RzTabControl1->setTabVisible(0, true);
    TTabBar* bar = form.RzTabControl1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    EXPECT_FALSE(form.RzEdit1->hasFocus());
    EXPECT_FALSE(form.ListeningSign->isVisible());
}

// X keycodes (evdev code + 8).
constexpr std::uint8_t kLeftCtrlKey = 37;
constexpr std::uint8_t kAKey = 38;

void InjectKey(xcb_connection_t* connection, std::uint8_t keycode, bool press)
{
    xcb_test_fake_input(connection, press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode,
                        XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection);
}

// The window with the real hook library, shown and active, and an X
// connection to press keys with.
class RealHookLibrary : public testing::Test {
protected:
    void Start()
    {
#ifdef APP_HOOKMOD_FOLDER
        form.SetMessageSink(&sink);
        form.SetHookLibraryFolder(QStringLiteral(APP_HOOKMOD_FOLDER));
        form.RunFormCreate();   // the block of this user and the test's display
        ASSERT_TRUE(sink.shown.empty());
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ASSERT_TRUE(test::SettleWithKeyTabs(form));
        connection.reset(xcb_connect(nullptr, nullptr));
        ASSERT_EQ(xcb_connection_has_error(connection.get()), 0);
#endif
    }

    // The real library reads the block of this user and display (the test's
    // own X server): the window publishes there by default.
    void TearDown() override { test::RemoveBlock(hookmsg::CurrentHookWindowBlockName()); }

    test::RecordingSink sink;
    test::UnloadedBus bus;
    TMainForm form{bus};
    Connection connection;
};

// The whole chain with the real hook library: focus on the key edit box
// switches the hook on, keys pressed on the X server come back as hook
// messages, and the combination lands in the key edit box and the table.
TEST_F(RealHookLibrary, CapturesKeysWhileTheKeyEditHasFocus)
{
#ifndef APP_HOOKMOD_FOLDER
    GTEST_SKIP() << "built without the hook library";
#else
    ASSERT_NO_FATAL_FAILURE(Start());

    // Hook off: keys typed now are not captured.
    InjectKey(connection.get(), kAKey, true);
    InjectKey(connection.get(), kAKey, false);
    QTest::qWait(300);
    EXPECT_EQ(form.RzEdit1->text(), "");

    form.RzEdit1->setFocus(Qt::TabFocusReason);
    InjectKey(connection.get(), kLeftCtrlKey, true);
    InjectKey(connection.get(), kAKey, true);
    InjectKey(connection.get(), kAKey, false);
    InjectKey(connection.get(), kLeftCtrlKey, false);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !form.RzEdit1->text().isEmpty(); }, 5000));
    EXPECT_EQ(form.RzEdit1->text(), "Ctrl+A");
    EXPECT_EQ(form.Edit1->text(), "224-4");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "01-04-00-00");
    QTest::qWait(200);   // the Ctrl release arrives and empties the list
    EXPECT_TRUE(form.Capture->CapturedKeyList().empty());
    form.CBox->setFocus(Qt::TabFocusReason);   // hook off again
#endif
}

// The keys the desktop keeps for itself, and a key already held when the key
// edit box gets the focus, through the real hook library.
TEST_F(RealHookLibrary, CapturesWindowsAndMenuKeysAndKeysHeldBeforeFocus)
{
#ifndef APP_HOOKMOD_FOLDER
    GTEST_SKIP() << "built without the hook library";
#else
    constexpr std::uint8_t kLeftSuperKey = 133;
    constexpr std::uint8_t kRightSuperKey = 134;
    constexpr std::uint8_t kMenuKey = 135;
    ASSERT_NO_FATAL_FAILURE(Start());

    form.RzEdit1->setFocus(Qt::TabFocusReason);
    InjectKey(connection.get(), kLeftSuperKey, true);
    InjectKey(connection.get(), kRightSuperKey, true);
    InjectKey(connection.get(), kMenuKey, true);
    InjectKey(connection.get(), kMenuKey, false);
    InjectKey(connection.get(), kRightSuperKey, false);
    InjectKey(connection.get(), kLeftSuperKey, false);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !form.RzEdit1->text().isEmpty(); }, 5000));
    EXPECT_EQ(form.RzEdit1->text(), "Left Windows+Right Windows+Application");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "88-65-00-00");
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.Capture->CapturedKeyList().empty(); }, 5000));

    // Ctrl goes down while the hook is off; only A, pressed with the hook
    // on, makes the combination, and Ctrl's later release adds nothing.
    form.CBox->setFocus(Qt::TabFocusReason);
    InjectKey(connection.get(), kLeftCtrlKey, true);
    QTest::qWait(200);
    form.RzEdit1->setFocus(Qt::TabFocusReason);
    InjectKey(connection.get(), kAKey, true);
    InjectKey(connection.get(), kAKey, false);
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.RzEdit1->text() == "A"; }, 5000))
        << form.RzEdit1->text().toStdString();
    InjectKey(connection.get(), kLeftCtrlKey, false);
    QTest::qWait(200);
    EXPECT_EQ(form.RzEdit1->text(), "A");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "00-04-00-00");
    EXPECT_TRUE(form.Capture->CapturedKeyList().empty());
    form.CBox->setFocus(Qt::TabFocusReason);
#endif
}

// The server's layout names the keys: after "setxkbmap de" the key at the
// US Y position shows as "Z", and its position (0x1C) is what the row holds.
TEST_F(RealHookLibrary, NamesKeysAsTheServersLayoutDoesAndEntersTheirPositions)
{
#ifndef APP_HOOKMOD_FOLDER
    GTEST_SKIP() << "built without the hook library";
#else
    constexpr std::uint8_t kUsYKey = 29;
    if (std::system("command -v setxkbmap >/dev/null") != 0)
        GTEST_SKIP() << "no setxkbmap";
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_EQ(std::system("setxkbmap -layout de"), 0);
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.KeyNaming().Name(0x1C) == "Z"; }, 20000));

    form.RzEdit1->setFocus(Qt::TabFocusReason);
    InjectKey(connection.get(), kLeftCtrlKey, true);
    InjectKey(connection.get(), kUsYKey, true);
    InjectKey(connection.get(), kUsYKey, false);
    InjectKey(connection.get(), kLeftCtrlKey, false);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !form.RzEdit1->text().isEmpty(); }, 5000));
    EXPECT_EQ(form.RzEdit1->text(), "Ctrl+Z");
    EXPECT_EQ(form.Edit1->text(), "224-28");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "01-1C-00-00");
    form.CBox->setFocus(Qt::TabFocusReason);

    ASSERT_EQ(std::system("setxkbmap -layout us"), 0);
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.KeyNaming().Name(0x1C) == "Y"; }, 20000));
#endif
}

}  // namespace
}  // namespace app
