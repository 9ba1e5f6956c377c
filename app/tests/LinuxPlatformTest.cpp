// What is Linux's own in the window: the hook's messages as X11
// ClientMessages, why capture cannot work on a desktop, the choice of Qt's
// platform, the POSIX block of the user and display, the advice texts, and
// the restart of the program.
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include "app/AccessAdvice.h"
#include "app/CaptureAvailabilityX11.h"
#include "app/DiscoveryAdvice.h"
#include "app/HookMessageFilter.h"
#include "app/PlatformChoice.h"
#include "app/ProgramRestart.h"
#include "app/tests/CaptureWindow.h"
#include "hookmod/PosixHookBlockName.h"

namespace app {
namespace {

using test::kAScan;
using test::PressData;
using test::ReleaseData;
using X11HookFilterTest = test::CaptureWindow;

// Builds the ClientMessage the hook library sends.
xcb_client_message_event_t HookEvent(xcb_window_t window, xcb_atom_t atom, std::uint32_t message,
                                     std::uint32_t wParam, std::uint32_t lParam)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE | 0x80;   // sent by another client
    event.format = 32;
    event.window = window;
    event.type = atom;
    event.data.data32[hookmsg::kDataMessage] = message;
    event.data.data32[hookmsg::kDataWParam] = wParam;
    event.data.data32[hookmsg::kDataLParam] = lParam;
    return event;
}

TEST_F(X11HookFilterTest, TakesOnlyHookMessagesForThisWindow)
{
    ShowActive();
    constexpr xcb_atom_t kAtom = 321;
    HookMessageFilter filter(form, kAtom);
    const auto window = static_cast<xcb_window_t>(form.winId());
    const QByteArray xcb("xcb_generic_event_t");

    auto feed = [&](xcb_client_message_event_t event, const QByteArray& type = "xcb_generic_event_t") {
        return filter.nativeEventFilter(type, &event, nullptr);
    };
    // Not for us: another atom, another window, another event type, another
    // platform's events.
    EXPECT_FALSE(feed(HookEvent(window, kAtom + 1, hookmsg::kHookLeftWindows, hookmsg::kKeyDown, 0)));
    EXPECT_FALSE(feed(HookEvent(window + 1, kAtom, hookmsg::kHookLeftWindows, hookmsg::kKeyDown, 0)));
    xcb_client_message_event_t keyPress = HookEvent(window, kAtom, hookmsg::kHookLeftWindows,
                                                    hookmsg::kKeyDown, 0);
    keyPress.response_type = XCB_KEY_PRESS;
    EXPECT_FALSE(feed(keyPress));
    EXPECT_FALSE(feed(HookEvent(window, kAtom, hookmsg::kHookLeftWindows, hookmsg::kKeyDown, 0),
                      "windows_generic_MSG"));
    EXPECT_TRUE(form.Capture->CapturedKeyList().empty());

    // Left Windows + A, sent events and one that was not sent.
    EXPECT_TRUE(feed(HookEvent(window, kAtom, hookmsg::kHookLeftWindows, hookmsg::kKeyDown, 0)));
    xcb_client_message_event_t aPress =
        HookEvent(window, kAtom, hookmsg::kHookKeyMessage, hookmsg::kKeyDown, PressData(kAScan));
    aPress.response_type = XCB_CLIENT_MESSAGE;
    EXPECT_TRUE(feed(aPress));
    EXPECT_TRUE(feed(HookEvent(window, kAtom, hookmsg::kHookKeyMessage, hookmsg::kKeyUp,
                               ReleaseData(kAScan))));
    EXPECT_EQ(form.RzEdit1->text(), "Left Windows+A");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "08-04-00-00");
}

CaptureFacts WorkingX11()
{
    CaptureFacts facts;
    facts.hooksLoaded = true;
    facts.platform = QStringLiteral("xcb");
    facts.haveDisplay = true;
    facts.displayReachable = true;
    return facts;
}

TEST(X11CaptureSignTest, EachObstacleHasItsReason)
{
    EXPECT_EQ(CaptureUnavailableReason(WorkingX11()), QString());

    CaptureFacts facts = WorkingX11();
    facts.serverShortfall = QStringLiteral("the X server has no XInput 2");
    EXPECT_EQ(CaptureUnavailableReason(facts), "the X server has no XInput 2");
    facts = WorkingX11();
    facts.platform = QStringLiteral("wayland");
    EXPECT_EQ(CaptureUnavailableReason(facts), "the window runs on wayland, not on X");
    facts = WorkingX11();
    facts.displayReachable = false;
    EXPECT_EQ(CaptureUnavailableReason(facts), "the X display cannot be reached");
    facts = WorkingX11();
    facts.haveDisplay = facts.displayReachable = false;
    facts.platform = QStringLiteral("wayland");
    EXPECT_EQ(CaptureUnavailableReason(facts), "no X display (DISPLAY not set)");
    facts.hooksLoaded = false;
    EXPECT_EQ(CaptureUnavailableReason(facts), "no keyboard hook library");
}

// With an X display, xcb first and Wayland as the fallback: a DISPLAY that
// cannot be reached (left over from ssh or tmux) must not stop the program.
TEST(PlatformChoiceTest, XcbWithWaylandFallbackOnlyWithAnXDisplayAndNoExplicitChoice)
{
    EXPECT_STREQ(PreferredPlatforms(":0", nullptr), "xcb;wayland");
    EXPECT_STREQ(PreferredPlatforms(":1", ""), "xcb;wayland");
    EXPECT_EQ(PreferredPlatforms(":0", "offscreen"), nullptr);
    EXPECT_EQ(PreferredPlatforms(":0", "wayland"), nullptr);
    EXPECT_EQ(PreferredPlatforms(nullptr, nullptr), nullptr);
    EXPECT_EQ(PreferredPlatforms("", nullptr), nullptr);
}

// Without a name of its own the window uses the block of this user and
// display, the one the hook library reads; the test's display is its own.
TEST(PosixBlockTest, DefaultBlockIsThisUsersForThisDisplay)
{
    const QByteArray display = qgetenv("DISPLAY");
    const std::string ownDisplay = ":varnok-startup-test-" + std::to_string(getpid());
    qputenv("DISPLAY", QByteArray::fromStdString(ownDisplay));
    const std::string block = hookmsg::CurrentHookWindowBlockName();
    EXPECT_EQ(block, "/TestHook-" + std::to_string(geteuid()) + "-" + ownDisplay);

    test::RecordingSink sink;
    test::UnloadedBus bus;
    TMainForm form(bus);
    form.SetMessageSink(&sink);
    form.SetHookLibraryFolder(test::RecordingHookFolder());
    form.RunFormCreate();
    display.isNull() ? qunsetenv("DISPLAY") : qputenv("DISPLAY", display);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(test::BlockValue(block), static_cast<std::uint32_t>(form.winId()));
    test::RemoveBlock(block);
}

// On Linux access is granted by the udev rule; discovery needs libudev.
TEST(LinuxAdviceTest, TextsNameTheRuleAndTheLibrary)
{
    EXPECT_TRUE(AccessAdviceText().contains("sudo scripts/install-udev-rule"));
    EXPECT_TRUE(AccessAdviceText().contains("unplug"));
    EXPECT_TRUE(GrantAccessHint().contains(
        "run scripts/install-udev-rule (or install the package), then unplug and replug the pedal"));
    EXPECT_TRUE(DiscoveryUnavailableText().contains("libudev.so.1"));
    EXPECT_TRUE(DiscoveryUnavailableText().contains("libudev1"));
}

// The data-error restart: the program given starts, detached, without
// arguments.
TEST(ProgramRestartTest, StartsTheProgramWithoutArguments)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString program = folder.filePath(QStringLiteral("program"));
    const QString started = folder.filePath(QStringLiteral("started"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho \"$#\" > '%1.part' && mv '%1.part' '%1'\n")
                     .arg(started)
                     .toUtf8());
    script.close();
    ASSERT_EQ(chmod(program.toLocal8Bit().constData(), 0700), 0);

    ASSERT_TRUE(StartProgram(program, nullptr));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(started); }, 20000));
    QFile result(started);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(result.readAll().trimmed(), "0");
    EXPECT_FALSE(StartProgram(folder.filePath(QStringLiteral("missing")), nullptr));
}

}  // namespace
}  // namespace app
