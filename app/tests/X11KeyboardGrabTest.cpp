// While the key edit box captures, the desktop does not act on the keys: a
// window manager's Alt+F4 does not close the window (run with openbox by
// app_x11_wm_test). A keyboard that another
// program holds switches capture off, and the sign says why.
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
#include "app/tests/HookFixtures.h"
#include "app/tests/RecordingSink.h"
#include "app/tests/UnloadedBus.h"

namespace app {
namespace {

struct XcbDisconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, XcbDisconnect>;

// X keycodes (evdev code + 8).
constexpr std::uint8_t kLeftAltKey = 64;
constexpr std::uint8_t kF4Key = 70;

void PressAltF4(xcb_connection_t* connection)
{
    for (const auto& [keycode, press] : {std::pair{kLeftAltKey, true}, {kF4Key, true}, {kF4Key, false},
                                         {kLeftAltKey, false}})
        xcb_test_fake_input(connection, press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode,
                            XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

// Whether a window manager runs on the display: it names its check window
// on the root window.
bool WindowManagerRuns(xcb_connection_t* connection)
{
    const char name[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    if (atom == nullptr)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool set = reply != nullptr && xcb_get_property_value_length(reply) > 0;
    std::free(reply);
    std::free(atom);
    return set;
}

class KeyboardGrab : public testing::Test {
protected:
    void Start()
    {
        form = std::make_unique<TMainForm>(bus);
        form->SetMessageSink(&sink);
        form->SetHookLibraryFolder(test::RecordingHookFolder());
        form->SetHookBlockName(block);
        form->RunFormCreate();
        test::RemoveBlock(block);
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get())) {
            // A window manager may not hand the focus to a window that asks
            // for it; a click into the window (on a label) gets it there.
            ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
            const QPoint at = form->RzLabel3->mapToGlobal(form->RzLabel3->rect().center());
            Click(at.x(), at.y());
            ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        }
        ASSERT_TRUE(test::SettleWithKeyTabs(*form));
        ASSERT_FALSE(form->CaptureOffSign->isVisible()) << form->CaptureOffSign->text().toStdString();
    }

    void Click(int x, int y)
    {
        xcb_connection_t* c = connection.get();
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        xcb_test_fake_input(c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root, static_cast<std::int16_t>(x),
                            static_cast<std::int16_t>(y), 0);
        xcb_test_fake_input(c, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(c, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(c);
    }

    Connection connection{xcb_connect(nullptr, nullptr)};
    const std::string block = test::PrivateBlockName("x11-grab");
    test::RecordingSink sink;
    test::UnloadedBus bus;
    std::unique_ptr<TMainForm> form;
};

TEST_F(KeyboardGrab, AltF4InTheKeyBoxDoesNotCloseTheWindow)
{
    ASSERT_EQ(xcb_connection_has_error(connection.get()), 0);
    if (!WindowManagerRuns(connection.get()))
        GTEST_SKIP() << "needs a window manager that binds Alt+F4 (app_x11_wm_test runs openbox)";
    ASSERT_NO_FATAL_FAILURE(Start());

    form->RzEdit1->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(form->ListeningSign->isVisible());
    PressAltF4(connection.get());
    QTest::qWait(500);   // time for the window manager to act, were it to
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->RzEdit1->hasFocus());

    // Once the box lets the keyboard go, the same keys reach the window manager.
    form->CBox->setFocus(Qt::TabFocusReason);
    PressAltF4(connection.get());
    EXPECT_TRUE(QTest::qWaitFor([this] { return !form->isVisible(); }, 10000));
}

TEST_F(KeyboardGrab, AKeyboardHeldByAnotherProgramSwitchesCaptureOffWithTheReason)
{
    ASSERT_EQ(xcb_connection_has_error(connection.get()), 0);
    ASSERT_NO_FATAL_FAILURE(Start());
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection.get())).data->root;
    xcb_grab_keyboard_reply_t* grab = xcb_grab_keyboard_reply(
        connection.get(),
        xcb_grab_keyboard(connection.get(), 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC,
                          XCB_GRAB_MODE_ASYNC),
        nullptr);
    ASSERT_NE(grab, nullptr);
    ASSERT_EQ(grab->status, XCB_GRAB_STATUS_SUCCESS);
    std::free(grab);

    const int ons = test::HookOnCalls(test::RecordingHookFolder());
    form->RzEdit1->setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(form->CaptureOffSign->isVisible());
    EXPECT_TRUE(form->CaptureOffSign->text().contains("another program holds the keyboard"))
        << form->CaptureOffSign->text().toStdString();
    EXPECT_FALSE(form->ListeningSign->isVisible());
    EXPECT_EQ(test::HookOnCalls(test::RecordingHookFolder()), ons);

    form->CBox->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(form->CaptureOffSign->isVisible());
    xcb_ungrab_keyboard(connection.get(), XCB_CURRENT_TIME);
    std::free(xcb_get_input_focus_reply(connection.get(), xcb_get_input_focus(connection.get()), nullptr));
    form->RzEdit1->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(form->CaptureOffSign->isVisible());
    EXPECT_TRUE(form->ListeningSign->isVisible());
    EXPECT_EQ(test::HookOnCalls(test::RecordingHookFolder()), ons + 1);
    form->CBox->setFocus(Qt::MouseFocusReason);
}

}  // namespace
}  // namespace app
