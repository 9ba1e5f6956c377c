// The program's one main window. It owns every widget, the 500 ms timer, the
// HID device controller, the pedal configuration table, the key capture and
// the link to the keyboard hook library. Handlers carry the names of the
// component and event they serve; they run on the main thread, one at a time.
//
// Device ownership: the window owns every device it checked out. Those of
// the found pedals hang on the DevListBox entries; a pedal found only by the
// fallback check-out hangs on no entry and is held apart. All of them are
// given back (deleted) at the start of the next device change and when the
// window is destroyed, each exactly once; CurrentDevice only ever points at
// one of them and is cleared before they go.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "capture/HookLibrary.h"
#include "capture/KeyCapture.h"
#include "hid/MainThreadQueue.h"
#include "hid/THidDeviceController.h"
#include "hid/platform/HidPlatform.h"
#include "keys/KeyNaming.h"
#include "protocol/ExchangeQueue.h"
#include "protocol/PedalConfigTable.h"
#include "protocol/PedalKeystrokes.h"
#include "protocol/PedalReport.h"
#include "protocol/ReadBackCheck.h"
#include "protocol/RowStates.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTimer;

namespace cli {
struct ProfileEntry;
}

namespace app {

class DeviceChangeWatch;
class HookMessageFilter;
class KeyboardLayoutWatch;
class MainThreadWakeup;
class MessageSink;
class PedalKeyboardInput;
class ProfileSystemMenu;
class ReportPacer;
class TTabControl;
struct WriteInOutcome;

class TMainForm : public QWidget {
    Q_OBJECT
public:
    // `backend` is the platform HID binding the controller works on; it must
    // outlive the window.
    explicit TMainForm(hid::platform::Backend& backend, QWidget* parent = nullptr);
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
    // Signs of the key capture: "listening" while the key edit box has the
    // focus and the hook is on; why capture cannot work on this desktop.
    QLabel* ListeningSign;
    QLabel* CaptureOffSign;
    // Why the last combination was not taken (a key the pedal cannot hold).
    QLabel* KeyRefusedSign;
    // Which pedal was just pressed and what it typed; for a while, in the
    // place of the capture-off sign.
    QLabel* PedalPressedSign;
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

    // --- HID device layer (declaration order is destruction order reversed)
    // Hand-offs of the reader threads and the controller's own notices;
    // served by the event loop through HidWakeup.
    hid::MainThreadQueue HidQueue;
    std::unique_ptr<MainThreadWakeup> HidWakeup;
    hid::THidDeviceController HidCtl;
    // Device-change notifications of the platform -> HidCtl.
    std::unique_ptr<DeviceChangeWatch> HidWatch;

    // --- Start-up --------------------------------------------------------
    // The window's creation handler. Throws StartupError at the first step
    // that fails; the steps after it are skipped.
    void FormCreate();
    // Runs FormCreate and shows a failure in the error box; start-up goes on.
    void RunFormCreate();

    // Folder the hook library is loaded from; the executable's folder unless
    // set (tests point it at fixture libraries). Takes effect in FormCreate.
    void SetHookLibraryFolder(const QString& folder);
    // Name of the shared block for the window id; this user's own block for
    // this display unless set (tests name blocks of their own).
    void SetHookBlockName(const std::string& name);
    // Receiver of the window's message boxes; not owned. nullptr restores
    // the modal QMessageBox.
    void SetMessageSink(MessageSink* sink);
    MessageSink& Messages() const;

    // --- Handlers ----------------------------------------------------------
    void Timer1Timer();
    // Pedal discovery: the controller's events and the pedal choice.
    bool HidCtlEnumerate(hid::THidDevice* HidDev, std::int32_t Idx);
    void HidCtlDeviceChange(hid::THidDeviceController* Sender);
    void HidCtlDeviceDataError(hid::THidDevice* HidDev, std::uint32_t Error);
    void DevListBoxClick();
    void CBoxChange();
    // "Read out", "Write in" and every input report of a checked-out device.
    void RzBitBtn2Click();
    void RzBitBtn1Click();
    void HidCtlDeviceData(hid::THidDevice* HidDev, std::uint8_t ReportID, const std::uint8_t* Data,
                          std::uint16_t Size);
    // Pedal count and key tabs.
    void RzSpinEdit1Change();
    void RzTabControl1Change();
    void RzTabControl1TabClick();
    // The hidden diagnostic write.
    void Button1Click();
    // Shows the key list dialog modally; nothing in the window calls it.
    void RzButton1Click();
    // Focus into / out of the key edit box: keyboard hook on / off.
    void RzEdit1Enter();
    void RzEdit1Exit();
    // The key edit box's text changed: stores it for the selected tab; a
    // captured combination also becomes the tab's codes.
    void RzEdit1Change();
    // One message of the hook library, delivered by the native event filter.
    void OnHookMessage(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam);
    // The keys the pedal's keyboard collection holds now, after each of its
    // keystrokes. At the end of a press the window says which pedal typed it
    // and selects that pedal's tab.
    void PedalKeysHeld(const protocol::HeldKeys& held);
    // How near a key-down reaching the capture must come to the pedal's own
    // press of that key to be taken for the pedal's.
    static const std::chrono::milliseconds kPedalKeyPairing;
    // How long the pedal's sign stays.
    static const std::chrono::milliseconds kPedalSignTime;

    // --- Profiles: the assignments in a file ---------------------------------
    // Chooses the file to open (`save` false) or to save to, starting in
    // `folder`; empty when the user cancelled. Qt's file dialogs unless set.
    using ProfileChooser = std::function<QString(QWidget* parent, bool save, const QString& folder)>;
    void SetProfileChooser(ProfileChooser chooser);
    // The context menu's and the system menu's entries: a file is chosen,
    // then opened or saved.
    void OpenProfileClick();
    void SaveProfileClick();
    // Opening fills the table and the key edit box with the file's rows as
    // the user's own, not yet written in; a profile of another pedal or
    // pedal count is asked about first. A refused file changes nothing.
    // True when the table took the profile.
    bool OpenProfile(const QString& file);
    // Saves the rows of the pedal count and the pedal's serial number,
    // replacing the file atomically. True when the file was written.
    bool SaveProfile(const QString& file);
    // Why no profile can be opened now; empty when one can.
    QString ProfileOpenBlocker() const;

    // --- Operations ----------------------------------------------------------
    // Pedal count: the spin edit's value, 1 to 3.
    int PedalCount() const;
    // Makes the device of the selected DevListBox entry current, if any.
    void RefreshCurrentDevice();
    // Adds a line at the end of the report history and selects it; beyond
    // kHistoryLimit lines the oldest goes.
    void AppendHistory(const QString& line);
    static constexpr int kHistoryLimit = 10000;
    // Reports are queued or the pause after the last one is running.
    bool ExchangesPending() const;
    // A write-in is queued or going out (until the pause after its last
    // report is over and the answers that check it are in): the window
    // holds the assignments it is writing.
    bool WriteInInFlight() const;
    // The pause after each report sent to the pedal.
    static const std::chrono::milliseconds kReportPause;
    // How long a write-in waits for the pedal's answers to the read requests
    // that check it, after the pause behind the last one; a pedal that has
    // not answered by then is not confirmed.
    static const std::chrono::milliseconds kReadBackLimit;
    // The names keys are shown and read by: the desktop layout's, followed
    // from RunFormCreate on; the table's where no layout is known.
    void SetKeyNaming(keys::KeyNaming naming);
    const keys::KeyNaming& KeyNaming() const { return naming_; }
    // Key vocabulary lookups through KeyNaming(); each replaces the content
    // of `out`.
    void HIDtoKey(int usage, QString& out) const;
    void HIDtoKey2(std::uint8_t modifiers, QString& out) const;
    void changekey(const QString& name, QString& out) const;
    void Strtokeys(const QString& name, QString& out) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // During a write-in the window closes only once it has ended.
    void closeEvent(QCloseEvent* event) override;
    // The profile menu, outside the key edit box (which has its own).
    void contextMenuEvent(QContextMenuEvent* event) override;
    // A .json file dropped onto the window is opened.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildWindow();
    // Puts the outer frame at the window's place once it is shown.
    void PlaceFrame();
    void BuildDeviceStatus();
    void BuildInformation();
    void BuildKeyTabs();
    void BuildBottomRow();
    void BuildHiddenWidgets();
    void ConnectHandlers();
    void ConnectCaptureHandlers();
    void ConnectDeviceHandlers();

    // Capture.
    void StopListening();
    void ShowCapturedCombination(const std::string& text);
    void ShowKeyRefused(const std::string& key);
    void CheckCaptureAvailable();
    void UpdateCaptureSign();

    // Discovery.
    // A pedal of the last scan: its identity, whether it could be opened
    // for reading and writing, and whether only the fallback found it.
    struct ListedPedal {
        hid::platform::DeviceInstanceId instance;
        bool usable;
        bool fallback;
        bool operator==(const ListedPedal&) const = default;
    };
    std::vector<ListedPedal> ListedPedals() const;
    static bool IsUsable(const hid::THidDevice* device);
    void ReleaseDevices();
    // After a scan that found the same pedals: the pedal chosen before.
    void KeepPedalChoice(std::optional<hid::platform::DeviceInstanceId> selected);
    void FillPedalChoice();
    // The selected entry's serial and CBox index; a read-out when asked.
    void SelectListedPedal(bool readOut);
    void ShowPedalStatus();
    void ShowStatusText(const QString& text);
    // Gives a checked-out device back to the controller (deletes it); what
    // was queued for it is dropped first. Null does nothing.
    void GiveBack(hid::THidDevice* device);
    // True while a write-in is in flight: the device change is then handled
    // once the write-in has ended, as if it had waited behind it. A write-in
    // waiting for the answers of its check stops waiting when its pedal went.
    bool DeferDeviceChange();
    // Handles, from the event loop, a device change that waited.
    void RunDeferredDeviceChange();
    // While a write-in is in flight the pedal choice, the count and the
    // buttons wait: disabled from its start, enabled again (those that were)
    // at its end. The capture sign says that keys wait too.
    void HoldControlsForWriteIn();
    void ReleaseControlsAfterWriteIn();
    // After a write-in: closes the window if a close waited for it. True
    // when it did (a failure is still shown first).
    bool CloseAfterWriteIn(const WriteInOutcome& outcome);
    void ShowPedalFound();
    void ShowNoPedal();
    // The platform's device library is missing: no scan will ever run.
    void ShowDiscoveryUnavailable();
    // Tabs: steps 1 to 3 of the count handler (no read-out).
    void LayOutTabs();
    // Starts the write of one report to `device` off the GUI thread (none:
    // nothing is written, false); the pacer waits for its end, which logs
    // it. `error` gets the reason of a failure known at once; `failed`, if
    // set, runs on the main thread when the write failed off it.
    bool SendReport(hid::THidDevice* device, const protocol::PedalReport& report, int& error,
                    std::function<void()> failed = {});
    // An exchange of `kind` with CurrentDevice, each report sent with
    // SendReport; the caller adds the reports.
    protocol::ExchangeQueue::Exchange ExchangeWithCurrentDevice(protocol::ExchangeKind kind);
    void ShowWriteInOutcome(const WriteInOutcome& outcome);
    // After a write-in's check: which of `rows` (those `sent`) hold other
    // bytes than `written`, and which did not answer, into `outcome`.
    void CheckReadBack(WriteInOutcome& outcome, const std::vector<int>& rows, const std::vector<bool>& sent,
                       const std::vector<protocol::AssignmentBytes>& written, const std::string& path);
    // The platform still lists the device interface at `path` (true when
    // that cannot be told).
    bool StillAttached(const std::string& path) const;
    // Read requests for `rows` of CurrentDevice, in that order. A read-out
    // that a rescan cuts goes on with the same pedal's new device object.
    void ReadOut(const std::vector<int>& rows);
    void CarryOverReadOut(hid::platform::DeviceInstanceId pedal, std::vector<int> rows);
    // Another pedal's rows are shown from now on: none is known yet.
    void ForgetRows();
    // While a write-in is in flight: puts the selected pedal's text back into
    // the key edit box (a combination captured meanwhile is not entered).
    void KeepShownAssignment();
    QLineEdit* WriteEdit(int i) const;
    // Access check after a scan: warns once per plugged-in pedal that this
    // user may not open.
    void CheckPedalAccess();
    // Shows a warning from the event loop, and not before the window is
    // shown (a box inside a scan would hold back every device change).
    void WarnLater(const QString& text);
    void ShowWarnings();
    // Live pedal test.
    void StartPedalKeyboardInput();
    // A report of a checked-out pedal keyboard collection.
    void PedalKeyboardReport(hid::THidDevice* device, const std::uint8_t* data, std::uint16_t size);
    bool IsPedalKeyboardOf(hid::THidDevice* keyboard, hid::THidDevice* pedal) const;
    void ShowPedalPress(const protocol::Keystroke& keystroke);
    // The pedal's sign goes; the capture-off sign comes back if due.
    void HidePedalPress();
    // The capture's key `name`, pressed at `at`, is the pedal's own.
    bool TypedByPedal(const std::string& name, std::chrono::steady_clock::time_point at) const;
    // Profiles.
    void ConnectProfileHandlers();
    void ApplyProfile(const std::vector<cli::ProfileEntry>& entries, int count);

    // Between the key edit box's focus-in and focus-out: hook messages count.
    bool listening_ = false;
    // Set while a captured combination is being shown: only then does the
    // key entry take the captured keys.
    bool enteringCapture_ = false;
    // Why capture cannot work here; empty when it can.
    QString captureOffReason_;
    // Why capture is off while the key edit box has the focus (the keyboard
    // grab or the keyboard hook was refused); empty otherwise.
    QString grabOffReason_;

    QString hookFolder_;
    std::string hookBlock_;   // empty: this user's block for this display
    std::unique_ptr<HookMessageFilter> hookFilter_;
    keys::KeyNaming naming_;
    std::unique_ptr<KeyboardLayoutWatch> layoutWatch_;
    MessageSink* messages_;
    std::unique_ptr<MessageSink> messageBox_;
    // Every report to a pedal goes through it, paced.
    std::unique_ptr<ReportPacer> pacer_;
    // Which rows of PedalConfigTable hold what CurrentDevice's pedal holds
    // or what the user set; only those are written in.
    protocol::RowStates rowStates_;
    // The write-in's check: the pedals read back and what they answered.
    protocol::ReadBackCheck readBack_;
    // A device change arrived during a write-in and waits for its end.
    bool deviceChangeDeferred_ = false;
    // The window was closed during a write-in: it closes when that ends.
    bool closeAfterWriteIn_ = false;
    // Controls disabled for the write-in in flight.
    std::vector<QWidget*> heldControls_;
    // Checked out by the fallback filter; attached to no DevListBox entry.
    hid::THidDevice* fallbackDevice_ = nullptr;
    // The pedals' keyboard collections, checked out where the controller
    // reads them; given back with the pedals.
    std::vector<hid::THidDevice*> pedalKeyboards_;
    // Raw Input where the platform delivers the pedal's keys that way.
    std::unique_ptr<PedalKeyboardInput> pedalKeyboardInput_;
    protocol::PedalPresses pedalPresses_;
    QTimer* pedalSignTimer_ = nullptr;
    // What each pedal of CurrentDevice answered it holds, by row; a press is
    // told by these, not by the table, which may hold unwritten changes.
    std::array<std::optional<protocol::AssignmentBytes>, protocol::PedalConfigTable::kRowCount> pedalHolds_{};
    // Pedals the access warning was shown for, by device instance; an entry
    // goes when its device is no longer present.
    std::set<hid::platform::DeviceInstanceId> accessWarned_;
    // Warnings waiting for the event loop or for the window to be shown.
    QStringList pendingWarnings_;
    bool framePlaced_ = false;   // PlaceFrame() ran at the first show
    ProfileChooser profileChooser_;
    std::unique_ptr<ProfileSystemMenu> profileMenu_;
};

}  // namespace app
