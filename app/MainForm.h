// The program's one main window. It owns every widget, the 500 ms timer, the
// pedal configuration table, the key capture and the link to the keyboard
// hook library. Handlers carry the names of the component and event they
// serve; they run on the main thread, one at a time.
#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "capture/HookLibrary.h"
#include "capture/KeyCapture.h"
#include "protocol/PedalConfigTable.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTimer;

namespace hid {
class THidDevice;
}

namespace app {

class HookMessageFilter;
class MessageSink;
class TTabControl;

class TMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // --- Widgets, in layout order --------------------------------------
    QGroupBox* RzGroupBox1;
    QLabel* RzLabel9;
    QComboBox* CBox;
    QLabel* Image1;
    QLabel* Image2;
    QLabel* VarnokAvailable;
    QGroupBox* RzGroupBox2;
    QLabel* RzLabel1;
    QLabel* RzLabel5;
    QLabel* RzLabel8;
    TTabControl* RzTabControl1;
    QLabel* RzLabel3;
    QLabel* RzLabel4;
    QLineEdit* RzEdit1;
    QLabel* RzLabel7;
    QFrame* RzSeparator1;
    QLabel* RzLabel2;
    QSpinBox* RzSpinEdit1;
    QPushButton* RzBitBtn1;
    QPushButton* RzBitBtn2;
    // Hidden diagnostic widgets, never shown.
    QListWidget* DevListBox;
    QListWidget* HistoryListBox;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLabel* Panel1;
    QLineEdit* Write1;
    QLineEdit* Write2;
    QLineEdit* Write3;
    QLineEdit* Write4;
    QLineEdit* Write5;
    QLineEdit* Write6;
    QLineEdit* Write7;
    QPushButton* Button1;
    // Non-visual.
    QTimer* Timer1;

    // --- State -----------------------------------------------------------
    // Set while the first read-out of a found pedal is unanswered; each
    // tick of Timer1 then starts another read-out.
    bool ReadPending = false;
    // The pedal that read-outs, write-ins and the diagnostic write address.
    hid::THidDevice* CurrentDevice = nullptr;
    protocol::PedalConfigTable PedalConfigTable;
    // Write1..Write7 at entries 1..7, found by name in FormCreate; entry 0
    // is unused.
    std::array<QLineEdit*, 8> WriteEdits{};
    // The keyboard hook library: HookOn, HookOff and the block holding the
    // window id. Without the library the hook calls do nothing.
    capture::HookLibrary HookLink;
    // CapturedKeyList and CaptureCount; created by FormCreate.
    std::unique_ptr<capture::KeyCapture> Capture;

    // --- Start-up --------------------------------------------------------
    // The window's creation handler. Throws StartupError at the first step
    // that fails; the steps after it are skipped.
    void FormCreate();
    // Runs FormCreate and shows a failure in the error box; start-up goes on.
    void RunFormCreate();

    // Folder the hook library is loaded from; the executable's folder unless
    // set (tests point it at fixture libraries). Takes effect in FormCreate.
    void SetHookLibraryFolder(const QString& folder);
    // Name of the shared block for the window id; "/TestHook" unless set.
    void SetHookBlockName(const std::string& name);
    // Receiver of the window's message boxes; not owned. nullptr restores
    // the modal QMessageBox.
    void SetMessageSink(MessageSink* sink);
    MessageSink& Messages() const;

    // --- Handlers ----------------------------------------------------------
    void Timer1Timer();
    // "Read out".
    void RzBitBtn2Click();
    // Shows the key list dialog modally; nothing in the window calls it.
    void RzButton1Click();
    // Focus into / out of the key edit box: keyboard hook on / off.
    void RzEdit1Enter();
    void RzEdit1Exit();
    // The key edit box's text changed: key entry for the selected tab.
    void RzEdit1Change();
    // One message of the hook library, delivered by the native event filter.
    void OnHookMessage(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam);

    // --- Operations ----------------------------------------------------------
    // Pedal count: the spin edit's value, 1 to 3.
    int PedalCount() const;
    // Makes the device of the selected DevListBox entry current, if any.
    void RefreshCurrentDevice();
    // Key vocabulary lookups; each replaces the content of `out`.
    void HIDtoKey(int usage, QString& out) const;
    void HIDtoKey2(std::uint8_t modifiers, QString& out) const;
    void changekey(const QString& name, QString& out) const;
    void Strtokeys(const QString& name, QString& out) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void BuildDeviceStatus();
    void BuildInformation();
    void BuildKeyTabs();
    void BuildBottomRow();
    void BuildHiddenWidgets();
    void ConnectHandlers();
    void ConnectCaptureHandlers();

    QString hookFolder_;
    std::string hookBlock_ = hookmsg::kHookWindowBlockName;
    std::unique_ptr<HookMessageFilter> hookFilter_;
    MessageSink* messages_;
    std::unique_ptr<MessageSink> messageBox_;
};

}  // namespace app
