// The texts of the window fit its fixed layout in every shipped language (and
// in the texts' own English): each text shown, in each state the window
// reaches, measured at the font of the widget that shows it.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTextLayout>

#include <initializer_list>

#include <gtest/gtest.h>

#include "app/InkFitLabel.h"
#include "app/TabBar.h"
#include "app/TabControl.h"
#include "translations/Translations.h"
#include "app/tests/PedalWindow.h"

namespace app {
namespace {

using hid::platform::virt::Access;

class TranslationFit : public test::PedalWindow {
protected:
    // Every text the window shows now lies inside its widget.
    void ExpectShownTextsFit(const char* state)
    {
        SCOPED_TRACE(state);
        for (QLabel* label : form->findChildren<QLabel*>()) {
            // Capture is off on the test's offscreen platform, for a reason
            // (naming that platform) no user sees.
            if (label->text().contains(QLatin1String("offscreen")))
                continue;
            if (label->isVisible() && !label->text().isEmpty())
                ExpectLabelFits(*label);
        }
        for (QGroupBox* box : form->findChildren<QGroupBox*>()) {
            // The title, with the frame's indent on either side.
            const int indent = 2 * box->fontMetrics().averageCharWidth();
            EXPECT_LE(box->fontMetrics().horizontalAdvance(box->title()) + indent, box->width())
                << box->title().toStdString();
        }
        for (QPushButton* button : {form->RzBitBtn1, form->RzBitBtn2})
            EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
        // The visible tabs inside the tab row, each wider than its caption.
        const TTabBar& bar = *form->RzTabControl1->tabBar();
        for (int i = 0; i < bar.count(); ++i) {
            if (!bar.isTabVisible(i))
                continue;
            EXPECT_LT(bar.fontMetrics().horizontalAdvance(bar.tabText(i)), bar.tabRect(i).width());
            EXPECT_LE(bar.tabRect(i).right(), bar.width() - 1);
        }
    }

    static void ExpectLabelFits(const QLabel& label)
    {
        SCOPED_TRACE(label.objectName().toStdString() + ": " + label.text().toStdString());
        const QFontMetrics metrics(label.font());
        const QStringList lines = label.text().split(u'\n');
        for (const QString& line : lines)
            EXPECT_LE(metrics.horizontalAdvance(line), label.width());
        if (lines.size() > 1) {
            EXPECT_LE(metrics.height() + (lines.size() - 1) * metrics.lineSpacing(), label.height());
            return;
        }
        // One line: its ink inside the label, on the baseline the label draws
        // it on, which depends on every font of the line (a Chinese text
        // comes in a fallback face). A large face is taller than its label
        // by the internal leading, which holds no ink.
        QTextLayout layout(label.text(), label.font());
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        const QRect contents = label.contentsRect();
        const qreal baseline = label.alignment().testFlag(Qt::AlignBottom)
                                   ? contents.y() + contents.height() - line.descent()
                                   : contents.y() + line.ascent();
        const auto* fitting = qobject_cast<const InkFitLabel*>(&label);
        const int shift = fitting != nullptr ? fitting->InkShift() : 0;
        const QRect ink =
            metrics.tightBoundingRect(label.text()).translated(0, qRound(baseline) + shift);
        EXPECT_GE(ink.top(), 0);
        EXPECT_LE(ink.bottom(), label.height() - 1);
    }

    // Ctrl+Shift+Alt+Page Down, the usages the pedal's keyboard sends.
    static constexpr std::initializer_list<int> kLongPress{0xE0, 0xE1, 0xE2, 0x4E};

    // A press of the pedal and its sign.
    void PedalPress(std::initializer_list<int> usages)
    {
        protocol::HeldKeys held;
        for (int usage : usages)
            held.set(static_cast<std::size_t>(usage));
        form->PedalKeysHeld(held);
        form->PedalKeysHeld({});
        ASSERT_TRUE(form->PedalPressedSign->isVisible());
        ExpectShownTextsFit(form->PedalPressedSign->text().toUtf8().constData());
    }

    // The window's states, one after the other, each checked.
    void WalkTheStates()
    {
        constexpr std::uint32_t kCtrlScan = 0x1D;
        constexpr std::uint32_t kF13Scan = 0x64;
        Plug().Firmware().SetSlot(2, {0x01, 0x19, 0x00, 0x00});   // pedals 2 and 3 alike
        ASSERT_NO_FATAL_FAILURE(StartAndWaitForAnswers());
        ExpectShownTextsFit("one pedal found");

        // A key the pedal cannot hold, refused.
        form->RzEdit1->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(WaitFor([this] { return form->RzEdit1->hasFocus(); }));
        Key(kCtrlScan, true);
        Key(kF13Scan, true);
        Key(kF13Scan, false);
        Key(kCtrlScan, false);
        ASSERT_TRUE(form->KeyRefusedSign->isVisible());
        ExpectShownTextsFit("key refused");
        ASSERT_NO_FATAL_FAILURE(PedalPress(kLongPress));   // pedals 2 and 3 not read out yet

        // Three pedals, the third one's tab.
        form->RzSpinEdit1->setValue(3);
        form->RzTabControl1->setCurrentIndex(2);
        form->RzTabControl1TabClick();
        ASSERT_TRUE(WaitFor([this] { return !form->ExchangesPending(); }));
        ExpectShownTextsFit("three pedals");
        // Pedal presses that cannot be told: two pedals alike, and keys no
        // pedal holds.
        ASSERT_NO_FATAL_FAILURE(PedalPress({0xE0, 0x19}));
        ASSERT_NO_FATAL_FAILURE(PedalPress(kLongPress));

        pedals.clear();
        ASSERT_TRUE(WaitForNextScan());
        ExpectShownTextsFit("no pedal");

        auto description = test::Pedal::Description();
        description.access = Access::ReadWriteRefused;
        Plug(description);
        ASSERT_TRUE(WaitForNextScan());
        ExpectShownTextsFit("pedal without access");
    }
};

TEST_F(TranslationFit, EveryLanguageFitsTheLayout)
{
    QStringList languages = i18n::ShippedLanguages();
    ASSERT_TRUE(languages.contains("de"));
    ASSERT_TRUE(languages.contains("zh_CN"));
    languages.prepend(QStringLiteral("C"));
    for (const QString& language : languages) {
        SCOPED_TRACE(language.toStdString());
        const i18n::Translations translations{QLocale(language)};
        ASSERT_EQ(translations.Loaded(), language != "C");
        // Qt's own texts come along, for the boxes' standard buttons.
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel") == "Cancel", language == "C");
        WalkTheStates();
        form.reset();
        pedals.clear();
        sink.shown.clear();
    }
}

// In German the window names the keys that type no character as German
// keycaps do, in a read-out and in a capture; the bytes stay the same.
TEST_F(TranslationFit, GermanKeyNamesLeaveTheBytes)
{
    const i18n::Translations translations{QLocale(QStringLiteral("de"))};
    Plug();
    ASSERT_NO_FATAL_FAILURE(StartAndWaitForAnswers());
    EXPECT_EQ(form->RzEdit1->text(), "Strg+C");   // the simulated pedal's first key
    ASSERT_NO_FATAL_FAILURE(CaptureCtrlA());
    EXPECT_EQ(form->RzEdit1->text(), "Strg+A");
    EXPECT_EQ(form->Edit2->text(), "01-04-00-00");
    EXPECT_EQ(form->PedalConfigTable.JoinedCodeText(0), "01-04-00-00");
}

// VARNOK_LANG picks the language: a region falls back to its language, the
// texts' own English and a language not shipped load nothing.
TEST(TranslationChoice, VarnokLangOverridesTheSystem)
{
    const struct {
        const char* setting;
        const char* readOut;   // the button's text in that language
    } cases[] = {
        {"de", "Auslesen"}, {"de_AT", "Auslesen"}, {"zh_CN", "读出"},
        {"C", "Read out"},  {"en_GB", "Read out"}, {"fr", "Read out"},
    };
    const QByteArray before = qgetenv("VARNOK_LANG");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        qputenv("VARNOK_LANG", c.setting);
        const i18n::Translations translations{i18n::ChosenLocale()};
        EXPECT_EQ(QCoreApplication::translate("app::TMainForm", "Read out"), QString::fromUtf8(c.readOut));
    }
    if (before.isNull())
        qunsetenv("VARNOK_LANG");
    else
        qputenv("VARNOK_LANG", before);
}

}  // namespace
}  // namespace app
