// The main window's widgets: places, texts, fonts and start-up states.
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "app/AccessibleInterfaces.h"
#include "app/DeviceChangeWatch.h"
#include "app/Fonts.h"
#include "app/HookMessageFilter.h"
#include "app/InkFitLabel.h"
#include "app/KeyboardLayoutWatch.h"
#include "app/LineHeightDelegate.h"
#include "app/MainForm.h"
#include "app/MainThreadWakeup.h"
#include "app/MessageBoxSink.h"
#include "app/PedalKeyboardInput.h"
#include "app/PedalNames.h"
#include "app/ProfileSystemMenu.h"
#include "app/Pictures.h"
#include "app/ReportPacer.h"
#include "app/TabBar.h"
#include "app/TabControl.h"
#include "app/WindowFrame.h"

namespace app {
namespace {

template <class W>
W* Place(W* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

// Labels keep their text at the top left, as the layout places them.
QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, int width, int height,
                  const QString& text)
{
    auto* label = Place(new QLabel(text, parent), name, left, top, width, height);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, int left, int top, int width, int height,
                    const QString& text)
{
    auto* edit = Place(new QLineEdit(text, parent), name, left, top, width, height);
    return edit;
}

constexpr int kWindowWidth = 426;
constexpr int kWindowHeight = 338;
constexpr int kWindowLeft = 561;
constexpr int kWindowTop = 168;
constexpr int kTabCount = 8;
constexpr int kHistoryLineHeight = 16;
const QColor kInfoBackground(0xFF, 0xFF, 0xE1);
const QColor kListeningColour(0x00, 0x80, 0x20);
const QColor kCaptureOffColour(0xC0, 0x00, 0x00);

}  // namespace

// Making HidCtl posts the controller's own first device-change notice; the
// event loop serves it once it runs, after the window is shown. The frame is
// a single border without a sizing edge (on Windows the fixed-size dialog
// frame; other platforms ignore that hint).
TMainForm::TMainForm(hid::platform::Backend& backend, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      HidWakeup(std::make_unique<MainThreadWakeup>(HidQueue)),
      HidCtl(backend, HidQueue),
      HidWatch(std::make_unique<DeviceChangeWatch>(HidCtl)),
      messageBox_(std::make_unique<MessageBoxSink>()),
      pacer_(std::make_unique<ReportPacer>(kReportPause, kReadBackLimit))
{
    messages_ = messageBox_.get();
    SetKeyNaming(keys::KeyNaming());
    BuildWindow();
    BuildDeviceStatus();
    BuildInformation();
    BuildKeyTabs();
    BuildBottomRow();
    BuildHiddenWidgets();
    ConnectHandlers();
    // Without the platform's device library no scan will ever come: where
    // the first scan would run, the window shows that no pedal can be found.
    if (!HidCtl.Loaded())
        QTimer::singleShot(0, this, &TMainForm::ShowDiscoveryUnavailable);
}

TMainForm::~TMainForm()
{
    Timer1->stop();
    // The checked-out devices go back first (their readers end here, with
    // the widgets still in place for a last hand-off); then the watch, the
    // controller, the wake-up and the queue, in that order.
    ReleaseDevices();
}

void TMainForm::BuildWindow()
{
    InstallAccessibleInterfaces();
    setObjectName(QStringLiteral("mainform"));
    setWindowTitle(tr("Varnok setup program"));
    setFont(DefaultFont());
    setFixedSize(kWindowWidth, kWindowHeight);
    move(kWindowLeft, kWindowTop);
}

void TMainForm::PlaceFrame()
{
    PlaceWindowFrame(*this, QPoint(kWindowLeft, kWindowTop));
}

void TMainForm::BuildDeviceStatus()
{
    RzGroupBox1 = Place(new QGroupBox(tr("Device Status"), this), "RzGroupBox1",
                        8, 8, 257, 105);
    RzLabel9 = MakeLabel(RzGroupBox1, "RzLabel9", 8, 26, 38, 16, tr("Select"));
    CBox = Place(new QComboBox(RzGroupBox1), "CBox", 56, 24, 193, 21);
    CBox->setEditable(false);
    CBox->setAccessibleName(tr("Select foot switch"));
    RzLabel9->setBuddy(CBox);

    Image1 = Place(new QLabel(RzGroupBox1), "Image1", 16, 56, 33, 33);
    Image1->setPixmap(ConnectedPicture());
    Image1->setAccessibleName(tr("Foot switch connected"));
    Image2 = Place(new QLabel(RzGroupBox1), "Image2", 16, 56, 33, 33);
    Image2->setPixmap(NotFoundPicture());
    Image2->setAccessibleName(tr("No foot switch found"));
    Image2->raise();   // the not-found picture lies above the connected one

    VarnokAvailable = MakeLabel(RzGroupBox1, "VarnokAvailable", 64, 64, 185, 25,
                                tr("foot switch is connected!"));
}

void TMainForm::BuildInformation()
{
    RzGroupBox2 = Place(new QGroupBox(tr("Information"), this), "RzGroupBox2",
                        272, 8, 145, 105);
    RzLabel1 = MakeLabel(RzGroupBox2, "RzLabel1", 24, 32, 65, 17, tr("Version:"));
    RzLabel5 = MakeLabel(RzGroupBox2, "RzLabel5", 88, 33, 33, 17, QString());
    RzLabel8 = MakeLabel(RzGroupBox2, "RzLabel8", 24, 64, 113, 17, QString());
    // Captions before any text: a text change makes the label's accessible
    // interface, which then stays.
    SetAccessibleValueCaption(*RzLabel5, tr("Version"), QString());
    SetAccessibleValueCaption(*RzLabel8, tr("Serial number"), QStringLiteral("SN:"));
    RzLabel8->setText(QStringLiteral("SN:"));
}

void TMainForm::BuildKeyTabs()
{
    RzTabControl1 = Place(new TTabControl(this), "RzTabControl1", 8, 120, 409, 145);
    for (int i = 1; i <= kTabCount; ++i)
        RzTabControl1->addTab(QStringLiteral("按键%1").arg(i));
    // Spoken as the tab row shows them once laid out, hidden tabs included.
    for (int i = 0; i < kTabCount; ++i)
        RzTabControl1->tabBar()->setAccessibleTabName(i, PedalTabName(i));
    RzTabControl1->setAccessibleName(tr("Pedals"));
    // Hidden last to first: the selected index stays on tab 0.
    for (int i = kTabCount - 1; i >= 0; --i)
        RzTabControl1->setTabVisible(i, false);

    RzLabel3 = Place(new InkFitLabel(tr("%1 pairs of buttons to set").arg(1), RzTabControl1),
                     "RzLabel3", 48, 32, 325, 24);
    RzLabel3->setFont(BoldFont(24));
    // A 24 px face is taller than the 24 px label by its internal leading:
    // sitting on the bottom edge, the ink of capitals and descenders fits
    // (and a line that rises to the full em is drawn lower).
    RzLabel3->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    RzLabel4 = MakeLabel(RzTabControl1, "RzLabel4", 48, 82, 81, 31, tr("Input:"));
    RzLabel4->setFont(BoldFont(19));

    RzEdit1 = MakeEdit(RzTabControl1, "RzEdit1", 136, 80, 177, 25, QString());
    RzEdit1->setReadOnly(true);
    RzEdit1->setAccessibleName(KeyBoxName(0));
    // The Menu key is a key to capture here: no context menu may take the
    // focus (and so the hook) away while it is held.
    RzEdit1->setContextMenuPolicy(Qt::NoContextMenu);
    QPalette info = RzEdit1->palette();
    info.setColor(QPalette::Base, kInfoBackground);
    info.setColor(QPalette::Text, QColor(Qt::black));
    RzEdit1->setPalette(info);

    RzLabel7 = MakeLabel(RzTabControl1, "RzLabel7", 144, 120, 177, 17,
                         tr("Support the combination of keys"));

    ListeningSign = MakeLabel(RzTabControl1, "ListeningSign", 318, 84, 84, 17,
                              QStringLiteral("\u25CF ") + tr("Listening"));
    ListeningSign->setAccessibleName(tr("Listening"));
    ListeningSign->setToolTip(
        tr("The key box is taking keys: press the combination for this pedal."));
    CaptureOffSign = MakeLabel(RzTabControl1, "CaptureOffSign", 48, 58, 353, 20, QString());
    QPalette signs = ListeningSign->palette();
    signs.setColor(QPalette::WindowText, kListeningColour);
    ListeningSign->setPalette(signs);
    signs.setColor(QPalette::WindowText, kCaptureOffColour);
    CaptureOffSign->setPalette(signs);
    // Where the capture-off sign would be: a refusal needs capture on.
    KeyRefusedSign = MakeLabel(RzTabControl1, "KeyRefusedSign", 48, 58, 353, 20, QString());
    KeyRefusedSign->setPalette(signs);
    PedalPressedSign = MakeLabel(RzTabControl1, "PedalPressedSign", 48, 58, 353, 20, QString());
    PedalPressedSign->setPalette(ListeningSign->palette());
    ListeningSign->hide();
    CaptureOffSign->hide();
    KeyRefusedSign->hide();
    PedalPressedSign->hide();
}

void TMainForm::BuildBottomRow()
{
    RzSeparator1 = Place(new QFrame(this), "RzSeparator1", -16, 272, 441, 1);
    RzSeparator1->setFrameShape(QFrame::HLine);
    RzSeparator1->setFrameShadow(QFrame::Plain);
    RzSeparator1->setLineWidth(1);
    RzSeparator1->setForegroundRole(QPalette::Mid);

    RzLabel2 = MakeLabel(this, "RzLabel2", 16, 292, 113, 29, tr("Pedal Number"));
    RzLabel2->setFont(BoldFont(16));

    RzSpinEdit1 = Place(new QSpinBox(this), "RzSpinEdit1", 128, 288, 49, 26);
    RzSpinEdit1->setRange(1, 3);
    RzSpinEdit1->setValue(1);
    RzLabel2->setBuddy(RzSpinEdit1);
    RzSpinEdit1->setAccessibleName(tr("Pedal Number"));

    RzBitBtn1 = Place(new QPushButton(WriteInIcon(), tr("Write in"), this), "RzBitBtn1",
                      224, 288, 89, 33);
    RzBitBtn2 = Place(new QPushButton(ReadOutIcon(), tr("Read out"), this), "RzBitBtn2",
                      328, 288, 89, 33);
    RzBitBtn1->setAccessibleDescription(tr("Picture: a tick"));
    RzBitBtn2->setAccessibleDescription(tr("Picture: a circular arrow"));
    for (QPushButton* button : {RzBitBtn1, RzBitBtn2})
        button->setIconSize(QSize(kButtonPictureSize, kButtonPictureSize));
}

void TMainForm::BuildHiddenWidgets()
{
    DevListBox = Place(new QListWidget(this), "DevListBox", 432, 120, 193, 121);

    HistoryListBox = Place(new QListWidget(this), "HistoryListBox", 312, 352, 273, 121);
    HistoryListBox->setFont(FixedPitchFont());
    HistoryListBox->setUniformItemSizes(true);
    HistoryListBox->setItemDelegate(new LineHeightDelegate(kHistoryLineHeight, HistoryListBox));

    Edit1 = MakeEdit(this, "Edit1", 144, 128, 121, 21, QStringLiteral("Edit1"));
    Edit2 = MakeEdit(this, "Edit2", 16, 128, 121, 21, QStringLiteral("Edit2"));

    Panel1 = Place(new QLabel(QStringLiteral("Panel1"), this), "Panel1", 8, 384, 225, 49);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setAlignment(Qt::AlignCenter);
    const std::array<QLineEdit**, 7> writes{&Write1, &Write2, &Write3, &Write4,
                                            &Write5, &Write6, &Write7};
    const std::array<int, 7> lefts{8, 44, 72, 100, 128, 156, 184};
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const QByteArray name = "Write" + QByteArray::number(static_cast<int>(i + 1));
        *writes[i] = MakeEdit(Panel1, name.constData(), lefts[i], 12, 25, 21, QString());
    }
    Write1->setToolTip(QStringLiteral("Number of bytes to write in hex"));

    Button1 = Place(new QPushButton(QStringLiteral("Button1"), this), "Button1", 32, 432, 75, 25);

    for (QWidget* hidden : std::initializer_list<QWidget*>{DevListBox, HistoryListBox, Edit1, Edit2,
                                                          Panel1, Button1})
        hidden->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    Timer1->start();
}

}  // namespace app
