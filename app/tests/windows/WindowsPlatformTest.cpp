// What is Windows' own in the window: the hook's messages as window messages
// to the main window, why capture cannot work, the session's "TestHook"
// mapping, the advice texts, device changes from the binding's own window
// served by Qt's event loop, and the restart of the program through the
// shell.
#include <windows.h>
// After windows.h:
#include <dbt.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "app/AccessAdvice.h"
#include "app/DeviceChangeWatch.h"
#include "app/DiscoveryAdvice.h"
#include "app/HookMessageFilter.h"
#include "app/MainThreadWakeup.h"
#include "app/ProgramRestart.h"
#include "app/SystemErrorText.h"
#include "app/WriteInOutcome.h"
#include "app/tests/CaptureWindow.h"
#include "app/windows/CaptureAvailabilityWindows.h"
#include "hid/MainThreadQueue.h"
#include "hid/THidDeviceController.h"
#include "hid/platform/windows/DeviceChangeWindow.h"
#include "hid/platform/windows/WindowsHidBackend.h"
#include "hookmod/windows/HookMapping.h"

namespace app {
namespace {

using test::kAScan;
using test::PressData;
using test::ReleaseData;
using WindowsHookFilterTest = test::CaptureWindow;

MSG HookMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    return msg;
}

TEST_F(WindowsHookFilterTest, TakesOnlyHookMessagesForThisWindow)
{
    ShowActive();
    HookMessageFilter filter(form);
    const auto window = reinterpret_cast<HWND>(form.winId());
    auto feed = [&](MSG msg, const QByteArray& type = "windows_generic_MSG") {
        qintptr result = -1;
        return filter.nativeEventFilter(type, &msg, &result);
    };
    // Not for us: another window, another message, another event type.
    HWND other = reinterpret_cast<HWND>(reinterpret_cast<quintptr>(window) + 4);
    EXPECT_FALSE(feed(HookMessage(other, hookmsg::kHookLeftWindows, hookmsg::kKeyDown, 0)));
    EXPECT_FALSE(feed(HookMessage(nullptr, hookmsg::kHookLeftWindows, hookmsg::kKeyDown, 0)));
    EXPECT_FALSE(feed(HookMessage(window, WM_KEYDOWN, 'A', PressData(kAScan))));
    EXPECT_FALSE(feed(HookMessage(window, hookmsg::kHookLeftWindows + 1, hookmsg::kKeyDown, 0)));
    EXPECT_FALSE(feed(HookMessage(window, hookmsg::kHookLeftWindows, hookmsg::kKeyDown, 0),
                      "xcb_generic_event_t"));
    EXPECT_TRUE(form.Capture->CapturedKeyList().empty());

    // Left Windows + A; the key data travels in lParam, the release bit
    // (bit 31) included.
    EXPECT_TRUE(feed(HookMessage(window, hookmsg::kHookLeftWindows, hookmsg::kKeyDown, 0)));
    EXPECT_TRUE(feed(HookMessage(window, hookmsg::kHookKeyMessage, WM_KEYDOWN, PressData(kAScan))));
    EXPECT_TRUE(feed(HookMessage(window, hookmsg::kHookKeyMessage, WM_KEYUP,
                                 static_cast<LPARAM>(static_cast<std::int32_t>(ReleaseData(kAScan))))));
    EXPECT_EQ(form.RzEdit1->text(), "Left Windows+A");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "08-04-00-00");
    // The Application key's release by wParam alone.
    EXPECT_TRUE(feed(HookMessage(window, hookmsg::kHookApplication, hookmsg::kKeyDown, 0)));
    EXPECT_TRUE(feed(HookMessage(window, hookmsg::kHookApplication, hookmsg::kKeyUp, 0)));
    EXPECT_EQ(form.RzEdit1->text(), "Left Windows+Application");
}

TEST(WindowsCaptureSignTest, ReasonsSpeakOfTheHookLibraryAndTheDesktop)
{
    EXPECT_EQ(CaptureUnavailableReason(true, QStringLiteral("windows")), QString());
    EXPECT_EQ(CaptureUnavailableReason(false, QStringLiteral("windows")),
              "no keyboard hook library (Hookmod.dll)");
    EXPECT_EQ(CaptureUnavailableReason(true, QStringLiteral("offscreen")),
              "the window runs on offscreen, not on the Windows desktop");
}

// Without a name of its own the window publishes its handle in the
// session's "Local\TestHook", which Hookmod.dll reads.
TEST(TestHookMappingTest, DefaultMappingHoldsTheWindowHandle)
{
    test::RecordingSink sink;
    test::UnloadedBus bus;
    TMainForm form(bus);
    form.SetMessageSink(&sink);
    form.SetHookLibraryFolder(test::RecordingHookFolder());
    form.RunFormCreate();
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(test::BlockValue(hookmsg::windows::kHookMappingName),
              static_cast<std::uint32_t>(form.winId()));
}

// Refused access on Windows is no matter of udev rules; discovery needs the
// system's setupapi.dll and hid.dll.
TEST(WindowsAdviceTest, TextsFitWindows)
{
    for (const QString& text : {AccessAdviceText(), GrantAccessHint(), DiscoveryUnavailableText()})
        EXPECT_FALSE(text.contains("udev") || text.contains("sudo")) << text.toStdString();
    EXPECT_TRUE(AccessAdviceText().contains("Another program may be holding the pedal open"));
    EXPECT_TRUE(GrantAccessHint().contains("Close any other program"));
    EXPECT_TRUE(DiscoveryUnavailableText().contains("setupapi.dll, hid.dll"));
}

// Boxes quote the system's message for the Win32 error, with that code, and
// name the likely cause where the error points at one. Without a Win32 code
// the errno-style one speaks.
TEST(WindowsErrorTextTest, BoxesQuoteTheSystemsMessageForTheWin32Error)
{
    struct Row {
        int error;
        std::uint32_t native;
        bool cause;
    };
    for (const Row row : {Row{EBUSY, ERROR_SHARING_VIOLATION, true}, Row{EACCES, ERROR_ACCESS_DENIED, true},
                          Row{ENODEV, ERROR_DEVICE_NOT_CONNECTED, false}, Row{EIO, ERROR_GEN_FAILURE, false}}) {
        const SystemErrorWords words = DescribeSystemError(row.error, row.native);
        const std::string at = "Win32 error " + std::to_string(row.native) + ": " + words.text.toStdString();
        EXPECT_FALSE(words.text.isEmpty()) << at;
        EXPECT_EQ(words.text, words.text.trimmed()) << at;
        EXPECT_EQ(words.code, QStringLiteral("Win32 error %1").arg(row.native)) << at;
        EXPECT_EQ(words.cause.contains("Another program may be using the foot switch."), row.cause) << at;
        const QString open = OpenFailureText(row.error, row.native);
        EXPECT_TRUE(open.contains(words.text + QStringLiteral(" (Win32 error %1)").arg(row.native))) << at;
        EXPECT_TRUE(open.contains(words.cause)) << at;
        WriteInOutcome outcome;
        outcome.failedPedals = {1};
        outcome.pedalCount = 1;
        outcome.error = row.error;
        outcome.nativeError = row.native;
        const QString write = WriteInFailureText(outcome);
        if (!IsAccessRefusal(row.error))
            EXPECT_TRUE(write.contains("The system reported: " + SystemErrorWithCode(words))) << write.toStdString();
    }
    const SystemErrorWords errnoOnly = DescribeSystemError(EBUSY, 0);
    EXPECT_EQ(errnoOnly.text, QString::fromLocal8Bit(std::strerror(EBUSY)));
    EXPECT_FALSE(errnoOnly.nativeCode);
}

// The Windows binding with the system's own libraries, its scans counted and
// its device-change window kept at hand.
class CountingBackend final : public hid::platform::Backend {
public:
    bool Load() override { return real_.Load(); }
    void Release() override { real_.Release(); }
    bool IsLoaded() const override { return real_.IsLoaded(); }
    std::unique_ptr<hid::platform::Snapshot> GetPresentInterfaces() override
    {
        ++scans;
        return real_.GetPresentInterfaces();
    }
    std::unique_ptr<hid::platform::DeviceHandle> Open(const std::string& path, bool readWrite, int* error,
                                                      std::uint32_t* nativeError) override
    {
        return real_.Open(path, readWrite, error, nativeError);
    }
    std::shared_ptr<hid::platform::ReadHandle> OpenRead(const std::string& path, int* error) override
    {
        return real_.OpenRead(path, error);
    }
    std::unique_ptr<hid::platform::Monitor> CreateMonitor() override
    {
        std::unique_ptr<hid::platform::Monitor> monitor = real_.CreateMonitor();
        if (auto* window = dynamic_cast<hid::platform::windows::DeviceChangeWindow*>(monitor.get()))
            monitorWindow = window->Window();
        return monitor;
    }

    int scans = 0;
    HWND monitorWindow = nullptr;

private:
    hid::platform::windows::WindowsHidBackend real_;
};

// WM_DEVICECHANGE reaches the binding's hidden window through Qt's event
// loop, which runs the rescan on the main thread: one per message.
TEST(WindowsDeviceChangeTest, EachDeviceChangeRescansThroughTheQtLoop)
{
    hid::MainThreadQueue queue;
    MainThreadWakeup wakeup(queue);
    CountingBackend backend;
    hid::THidDeviceController controller(backend, queue);
    ASSERT_TRUE(controller.Loaded());
    DeviceChangeWatch watch(controller);
    ASSERT_TRUE(watch.Watching());
    ASSERT_NE(backend.monitorWindow, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return backend.scans == 1; }, 20000));   // the first scan

    ASSERT_TRUE(PostMessageW(backend.monitorWindow, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return backend.scans == 2; }, 20000));
    ASSERT_TRUE(PostMessageW(backend.monitorWindow, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return backend.scans == 3; }, 20000));
    // Other device-change events are not the nodes changing.
    ASSERT_TRUE(PostMessageW(backend.monitorWindow, WM_DEVICECHANGE, DBT_CONFIGCHANGED, 0));
    QTest::qWait(300);
    EXPECT_EQ(backend.scans, 3);
}

// The data-error restart goes through the shell: the program given starts,
// without arguments.
TEST(ProgramRestartTest, ShellStartsTheProgramWithoutArguments)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString program = folder.filePath(QStringLiteral("program.bat"));
    const QString started = folder.filePath(QStringLiteral("started.txt"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("@if \"%~1\"==\"\" (echo none>\"%~dp0started.part\") else (echo some>\"%~dp0started.part\")\r\n"
                 "@move \"%~dp0started.part\" \"%~dp0started.txt\" >nul\r\n");
    script.close();

    ASSERT_TRUE(StartProgram(program, nullptr));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(started); }, 30000));
    QFile result(started);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(result.readAll().trimmed(), "none");
    EXPECT_FALSE(StartProgram(folder.filePath(QStringLiteral("missing.exe")), nullptr));
}

}  // namespace
}  // namespace app
