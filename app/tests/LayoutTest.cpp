// The main window as it stands right after construction.
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/MainForm.h"
#include "app/tests/UnloadedBus.h"
#include "app/TabControl.h"

namespace app {
namespace {

QString TextOf(const QWidget* widget)
{
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (auto* button = qobject_cast<const QPushButton*>(widget))
        return button->text();
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText();
    if (auto* spin = qobject_cast<const QSpinBox*>(widget))
        return QString::number(spin->value());
    return QString();
}

struct WidgetRow {
    const char* name;
    const char* parent;
    QRect place;
    const char* text;
    bool shown;
};

// Every widget of the window with its parent, place, text at start and
// whether it is shown (all of them enabled).
const WidgetRow kWidgets[] = {
    {"RzGroupBox1", "mainform", {8, 8, 257, 105}, "Device Status", true},
    {"RzLabel9", "RzGroupBox1", {8, 26, 38, 16}, "Select", true},
    {"CBox", "RzGroupBox1", {56, 24, 193, 21}, "", true},
    {"Image1", "RzGroupBox1", {16, 56, 33, 33}, "", true},
    {"Image2", "RzGroupBox1", {16, 56, 33, 33}, "", true},
    {"VarnokAvailable", "RzGroupBox1", {64, 64, 185, 25}, "foot switch is connected!", true},
    {"RzGroupBox2", "mainform", {272, 8, 145, 105}, "Information", true},
    {"RzLabel1", "RzGroupBox2", {24, 32, 65, 17}, "Version:", true},
    {"RzLabel5", "RzGroupBox2", {88, 33, 33, 17}, "", true},
    {"RzLabel8", "RzGroupBox2", {24, 64, 113, 17}, "SN:", true},
    {"RzTabControl1", "mainform", {8, 120, 409, 145}, "", true},
    {"RzLabel3", "RzTabControl1", {48, 32, 325, 24}, "1 pairs of buttons to set", true},
    {"RzLabel4", "RzTabControl1", {48, 82, 81, 31}, "Input:", true},
    {"RzEdit1", "RzTabControl1", {136, 80, 177, 25}, "", true},
    {"RzLabel7", "RzTabControl1", {144, 120, 177, 17}, "Support the combination of keys", true},
    {"RzSeparator1", "mainform", {-16, 272, 441, 1}, "", true},
    {"RzLabel2", "mainform", {16, 292, 113, 29}, "Pedal Number", true},
    {"RzSpinEdit1", "mainform", {128, 288, 49, 26}, "1", true},
    {"RzBitBtn1", "mainform", {224, 288, 89, 33}, "Write in", true},
    {"RzBitBtn2", "mainform", {328, 288, 89, 33}, "Read out", true},
    {"DevListBox", "mainform", {432, 120, 193, 121}, "", false},
    {"HistoryListBox", "mainform", {312, 352, 273, 121}, "", false},
    {"Edit1", "mainform", {144, 128, 121, 21}, "Edit1", false},
    {"Edit2", "mainform", {16, 128, 121, 21}, "Edit2", false},
    {"Panel1", "mainform", {8, 384, 225, 49}, "Panel1", false},
    {"Write1", "Panel1", {8, 12, 25, 21}, "", false},
    {"Write2", "Panel1", {44, 12, 25, 21}, "", false},
    {"Write3", "Panel1", {72, 12, 25, 21}, "", false},
    {"Write4", "Panel1", {100, 12, 25, 21}, "", false},
    {"Write5", "Panel1", {128, 12, 25, 21}, "", false},
    {"Write6", "Panel1", {156, 12, 25, 21}, "", false},
    {"Write7", "Panel1", {184, 12, 25, 21}, "", false},
    {"Button1", "mainform", {32, 432, 75, 25}, "Button1", false},
};

class LayoutTest : public ::testing::Test {
protected:
    test::UnloadedBus bus;
    TMainForm form{bus};
};

TEST_F(LayoutTest, EveryWidgetHasItsParentPlaceTextAndState)
{
    form.show();
    for (const WidgetRow& row : kWidgets) {
        SCOPED_TRACE(row.name);
        auto* widget = form.findChild<QWidget*>(QString::fromLatin1(row.name));
        ASSERT_NE(widget, nullptr);
        ASSERT_NE(widget->parentWidget(), nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(row.parent));
        EXPECT_EQ(widget->geometry(), row.place);
        EXPECT_EQ(TextOf(widget), QString::fromUtf8(row.text));
        EXPECT_EQ(widget->isVisibleTo(&form), row.shown);
        EXPECT_EQ(widget->isVisible(), row.shown);
        EXPECT_TRUE(widget->isEnabled());
    }
    // The hidden widgets on the window itself are hidden explicitly, so that
    // showing the window never shows them; the write edits hide with Panel1.
    for (QWidget* hidden : std::initializer_list<QWidget*>{form.DevListBox, form.HistoryListBox,
                                                          form.Edit1, form.Edit2, form.Panel1,
                                                          form.Button1})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
}

TEST_F(LayoutTest, MembersAreTheNamedWidgets)
{
    EXPECT_EQ(form.objectName(), "mainform");
    const std::pair<QWidget*, const char*> members[] = {
        {form.RzGroupBox1, "RzGroupBox1"}, {form.CBox, "CBox"},         {form.Image2, "Image2"},
        {form.RzLabel5, "RzLabel5"},       {form.RzTabControl1, "RzTabControl1"},
        {form.RzEdit1, "RzEdit1"},         {form.RzSpinEdit1, "RzSpinEdit1"},
        {form.RzBitBtn1, "RzBitBtn1"},     {form.RzBitBtn2, "RzBitBtn2"},
        {form.Write7, "Write7"},           {form.Button1, "Button1"},
    };
    for (const auto& [member, name] : members)
        EXPECT_EQ(member->objectName(), QString::fromLatin1(name));
    EXPECT_EQ(form.Timer1->objectName(), "Timer1");
}

TEST_F(LayoutTest, WindowIsFixedWithoutMaximiseAtItsPlace)
{
    EXPECT_EQ(form.windowTitle(), "Varnok setup program");
    EXPECT_EQ(form.size(), QSize(426, 338));
    EXPECT_EQ(form.minimumSize(), QSize(426, 338));
    EXPECT_EQ(form.maximumSize(), QSize(426, 338));
    EXPECT_EQ(form.pos(), QPoint(561, 168));
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::Window));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));   // no sizing edge on Windows
    form.show();
    form.resize(600, 500);
    EXPECT_EQ(form.size(), QSize(426, 338));
}

TEST_F(LayoutTest, FontsOfTheWindowAndTheLabels)
{
    EXPECT_EQ(form.font().families().mid(0, 2), QStringList({"Microsoft Sans Serif", "MS Sans Serif"}));
    EXPECT_EQ(form.font().pixelSize(), 11);
    EXPECT_EQ(form.RzLabel9->font().pixelSize(), 11);
    const std::tuple<QWidget*, int> bold[] = {
        {form.RzLabel3, 24}, {form.RzLabel4, 19}, {form.RzLabel2, 16}};
    for (const auto& [label, pixels] : bold) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_TRUE(label->font().bold());
        EXPECT_EQ(label->font().pixelSize(), pixels);
    }
    EXPECT_EQ(form.HistoryListBox->font().families().value(0), "Courier New");
    form.HistoryListBox->addItem(QStringLiteral("W 02  01 00 00 00 00 00 00 "));
    EXPECT_EQ(form.HistoryListBox->sizeHintForRow(0), 16);
}

// Depends on the fonts installed: fails where a fallback family is so wide
// or tall that a label would cut its text.
TEST_F(LayoutTest, VisibleLabelTextsAreNotCut)
{
    form.show();
    for (QLabel* label : form.findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        SCOPED_TRACE(label->objectName().toStdString());
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width());
        const int baseline = label->alignment().testFlag(Qt::AlignBottom)
                                 ? label->height() - metrics.descent()
                                 : metrics.ascent();
        const QRect ink = metrics.tightBoundingRect(label->text()).translated(0, baseline);
        EXPECT_GE(ink.top(), 0);
        EXPECT_LE(ink.bottom(), label->height() - 1);
    }
    for (QPushButton* button : {form.RzBitBtn1, form.RzBitBtn2})
        EXPECT_LE(button->sizeHint().width(), button->width());
}

TEST_F(LayoutTest, TabControlHasEightHiddenTabsOnIndexZero)
{
    ASSERT_EQ(form.RzTabControl1->tabCount(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(form.RzTabControl1->tabCaption(i), QStringLiteral("按键%1").arg(i + 1));
        EXPECT_FALSE(form.RzTabControl1->isTabVisible(i));
    }
    EXPECT_EQ(form.RzTabControl1->currentIndex(), 0);
    EXPECT_TRUE(form.RzTabControl1->isVisibleTo(&form));
}

TEST_F(LayoutTest, ControlsAtStart)
{
    EXPECT_FALSE(form.CBox->isEditable());
    EXPECT_EQ(form.CBox->count(), 0);
    EXPECT_TRUE(form.RzEdit1->isReadOnly());
    EXPECT_EQ(form.RzEdit1->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xE1));
    EXPECT_EQ(form.Write1->toolTip(), "Number of bytes to write in hex");
    EXPECT_EQ(form.DevListBox->count(), 0);
    EXPECT_EQ(form.HistoryListBox->count(), 0);

    for (QPushButton* button : {form.RzBitBtn1, form.RzBitBtn2}) {
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(button->iconSize(), QSize(16, 16));
    }
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 500);
    EXPECT_FALSE(form.Timer1->isSingleShot());

    EXPECT_FALSE(form.ReadPending);
    EXPECT_EQ(form.CurrentDevice, nullptr);
    for (int row = 0; row < 8; ++row) {
        EXPECT_TRUE(form.PedalConfigTable.KeyText(row).empty());
        EXPECT_TRUE(form.PedalConfigTable.Slot(row, 0).empty());
    }
    for (QLineEdit* entry : form.WriteEdits)
        EXPECT_EQ(entry, nullptr);   // filled by FormCreate

    // Last: a change of the count runs its handler.
    EXPECT_EQ(form.RzSpinEdit1->minimum(), 1);
    EXPECT_EQ(form.RzSpinEdit1->maximum(), 3);
    form.RzSpinEdit1->setValue(7);
    EXPECT_EQ(form.RzSpinEdit1->value(), 3);
}

TEST_F(LayoutTest, StatusPicturesNotFoundAboveConnected)
{
    const QObjectList& siblings = form.RzGroupBox1->children();
    EXPECT_GT(siblings.indexOf(form.Image2), siblings.indexOf(form.Image1));

    const QImage connected = form.Image1->pixmap().toImage();
    const QImage notFound = form.Image2->pixmap().toImage();
    ASSERT_EQ(connected.size(), QSize(33, 33));
    ASSERT_EQ(notFound.size(), QSize(33, 33));
    // Face colour beside the centre: green on the connected cap, red on the
    // other; the centre of the cross is white, the corners transparent.
    const QColor green = connected.pixelColor(16, 14);
    EXPECT_GT(green.green(), green.red() + 60);
    EXPECT_EQ(QColor(notFound.pixelColor(16, 14)).lightness(), 255);
    const QColor red = notFound.pixelColor(8, 24);
    EXPECT_GT(red.red(), red.green() + 60);
    EXPECT_EQ(connected.pixelColor(0, 0).alpha(), 0);
    // The ring of dots: a white dot to the right of the face centre.
    EXPECT_GE(QColor(connected.pixelColor(23, 14)).lightness(), 230);
}

}  // namespace
}  // namespace app
