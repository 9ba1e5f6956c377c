// The window's creation handler against fixture hook libraries, and how its
// failures are reported.
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/ErrorBox.h"
#include "app/MainForm.h"
#include "app/tests/UnloadedBus.h"
#include "app/tests/HookFixtures.h"
#include "app/tests/RecordingSink.h"

namespace app {
namespace {

using test::BlockValue;
using test::HookOffCalls;
using test::HookOnCalls;
using test::RecordingHookFolder;

class StartupTest : public ::testing::Test {
protected:
    void TearDown() override { test::RemoveBlock(block); }

    // Runs the creation handler with the hook library taken from `folder`.
    void Create(TMainForm& form, const QString& folder)
    {
        form.SetMessageSink(&sink);
        form.SetHookLibraryFolder(folder);
        form.SetHookBlockName(block);
        form.RunFormCreate();
    }

    // Shows the window and waits until it is the active one.
    static void ShowActive(TMainForm& form)
    {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ASSERT_TRUE(test::SettleWithKeyTabs(form));
    }

    void ExpectOneErrorBox(const char* text)
    {
        ASSERT_EQ(sink.shown.size(), 1u);
        const test::ShownBox& box = sink.shown.front();
        EXPECT_EQ(box.icon, QMessageBox::Critical);
        EXPECT_EQ(box.title, "app_test");
        EXPECT_EQ(box.text, QString::fromUtf8(text));
        EXPECT_EQ(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    static void ExpectNoWriteEdits(const TMainForm& form)
    {
        for (QLineEdit* entry : form.WriteEdits)
            EXPECT_EQ(entry, nullptr);
    }

    std::string block = test::PrivateBlockName("startup");
    test::RecordingSink sink;
};

TEST_F(StartupTest, AllStepsPublishTheWindowAndFindTheWriteFields)
{
    const int onBefore = HookOnCalls(RecordingHookFolder());
    const int offBefore = HookOffCalls(RecordingHookFolder());
    test::UnloadedBus bus;
    TMainForm form(bus);
    Create(form, RecordingHookFolder());

    EXPECT_TRUE(sink.shown.empty());
    EXPECT_TRUE(form.HookLink.HasHooks());
    ASSERT_NE(form.Capture, nullptr);
    EXPECT_TRUE(form.Capture->CapturedKeyList().empty());
    EXPECT_EQ(BlockValue(block), static_cast<std::uint32_t>(form.winId()));
    EXPECT_EQ(form.WriteEdits[0], nullptr);
    const std::array<QLineEdit*, 7> writes{form.Write1, form.Write2, form.Write3, form.Write4,
                                           form.Write5, form.Write6, form.Write7};
    for (int i = 1; i <= 7; ++i)
        EXPECT_EQ(form.WriteEdits[i], writes[i - 1]) << i;

    // Neither creation nor showing the window switches the keyboard hook on
    // (without a scan the no-pedal state switches it off).
    ShowActive(form);
    QCoreApplication::processEvents();
    EXPECT_EQ(HookOnCalls(RecordingHookFolder()), std::max(onBefore, 0));
    EXPECT_EQ(HookOffCalls(RecordingHookFolder()), std::max(offBefore, 0) + 1);
    EXPECT_FALSE(form.RzEdit1->hasFocus());
}

TEST_F(StartupTest, KeyEditFocusSwitchesTheHookOnAndOff)
{
    test::UnloadedBus bus;
    TMainForm form(bus);
    Create(form, RecordingHookFolder());
    ShowActive(form);
    const int on = HookOnCalls(RecordingHookFolder());
    const int off = HookOffCalls(RecordingHookFolder());

    form.RzEdit1->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(HookOnCalls(RecordingHookFolder()), on + 1);
    EXPECT_EQ(HookOffCalls(RecordingHookFolder()), off);
    form.CBox->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(HookOnCalls(RecordingHookFolder()), on + 1);
    EXPECT_EQ(HookOffCalls(RecordingHookFolder()), off + 1);

    // Another window taking over switches the hook off; coming back with the
    // key edit box focused switches it on again.
    form.RzEdit1->setFocus(Qt::TabFocusReason);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(HookOffCalls(RecordingHookFolder()), off + 2);
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(HookOnCalls(RecordingHookFolder()), on + 3);
}

TEST_F(StartupTest, NoLibraryReportsItAndSkipsTheRest)
{
    QTemporaryDir emptyFolder;
    ASSERT_TRUE(emptyFolder.isValid());
    test::UnloadedBus bus;
    TMainForm form(bus);
    Create(form, emptyFolder.path());

    ExpectOneErrorBox("未发现键盘钩子DLL.");
    EXPECT_NE(form.Capture, nullptr);   // step 1 ran before the failure
    EXPECT_FALSE(form.HookLink.HasHooks());
    EXPECT_FALSE(BlockValue(block).has_value());
    ExpectNoWriteEdits(form);

    // The window still opens and the key edit box can take the focus.
    ShowActive(form);
    EXPECT_TRUE(form.isVisible());
    form.RzEdit1->setFocus(Qt::TabFocusReason);
    form.CBox->setFocus(Qt::TabFocusReason);
}

TEST_F(StartupTest, LibraryWithoutHookOffIsNeverCalled)
{
    test::UnloadedBus bus;
    TMainForm form(bus);
    Create(form, test::HookWithoutOffFolder());

    ExpectOneErrorBox("在给定的 DLL中未发现所需的函数.");
    EXPECT_FALSE(form.HookLink.HasHooks());
    EXPECT_FALSE(BlockValue(block).has_value());
    ExpectNoWriteEdits(form);

    ShowActive(form);
    const int on = HookOnCalls(test::HookWithoutOffFolder());
    EXPECT_GE(on, 0);   // loaded
    form.RzEdit1->setFocus(Qt::TabFocusReason);
    form.CBox->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(HookOnCalls(test::HookWithoutOffFolder()), on);
}

TEST_F(StartupTest, BlockThatCannotBeCreatedKeepsTheHooks)
{
    block = test::UnusableBlockName();
    test::UnloadedBus bus;
    TMainForm form(bus);
    Create(form, RecordingHookFolder());

    ExpectOneErrorBox("创建内存映射文件时出错.");
    ExpectNoWriteEdits(form);
    // The hook procedures were found before the block failed: focus still
    // switches the hook.
    EXPECT_TRUE(form.HookLink.HasHooks());
    ShowActive(form);
    const int on = HookOnCalls(RecordingHookFolder());
    form.RzEdit1->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(HookOnCalls(RecordingHookFolder()), on + 1);
}

TEST_F(StartupTest, SecondInstanceReusesTheBlockAndOverwritesTheWindow)
{
    test::UnloadedBus bus;
    TMainForm first(bus);
    Create(first, RecordingHookFolder());
    ASSERT_EQ(BlockValue(block), static_cast<std::uint32_t>(first.winId()));

    TMainForm second(bus);
    Create(second, RecordingHookFolder());
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_NE(first.winId(), second.winId());
    EXPECT_EQ(BlockValue(block), static_cast<std::uint32_t>(second.winId()));
}

TEST(ErrorBoxTest, FullStopOnlyAfterCharactersThatSortAfterIt)
{
    EXPECT_EQ(ErrorBoxText(QStringLiteral("未发现键盘钩子DLL")), QStringLiteral("未发现键盘钩子DLL."));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("创建内存映射文件时出错")),
              QStringLiteral("创建内存映射文件时出错."));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("slash/")), QStringLiteral("slash/."));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("digit 0")), QStringLiteral("digit 0."));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("pedal \U0001F9B6")), QStringLiteral("pedal \U0001F9B6."));
    for (const QString& unchanged : {QStringLiteral("Done."), QStringLiteral("Stop!"),
                                     QStringLiteral("(none)"), QStringLiteral("a-"), QString()})
        EXPECT_EQ(ErrorBoxText(unchanged), unchanged);
}

TEST(ErrorBoxTest, TitleIsTheExecutableName)
{
    EXPECT_EQ(ApplicationTitle(), "app_test");
}

}  // namespace
}  // namespace app
