// Profiles: the table's assignments saved to a file and opened from one, in
// the command line's format. Reached through the window's context menu (the
// key edit box keeps its own), a .json file dropped onto the window and, on
// Windows, the system menu. What a file holds is checked whole before any of
// the table changes.
#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/MessageSink.h"
#include "app/ProfileFileDialog.h"
#include "app/ProfileFolder.h"
#include "app/ProfileSystemMenu.h"
#include "app/ProfileTexts.h"
#include "app/TabControl.h"
#include "cli/Profile.h"
#include "files/AtomicFile.h"
#include "hid/THidDevice.h"
#include "protocol/AnswerDisplayText.h"

namespace app {
namespace {

// A profile is a few hundred bytes; anything far larger is no profile.
constexpr qint64 kMaxProfileBytes = 1 << 20;

bool ReadProfileFile(const QString& file, QByteArray& text, QString& reason)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        reason = in.errorString();
        return false;
    }
    text = in.read(kMaxProfileBytes + 1);
    if (in.error() != QFileDevice::NoError) {
        reason = in.errorString();
        return false;
    }
    if (text.size() > kMaxProfileBytes) {
        reason = ProfileTooLargeReason(kMaxProfileBytes);
        return false;
    }
    return true;
}

// The one local .json file a drag carries, or empty.
QString DroppedProfile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1)
        return QString();
    const QUrl& url = data->urls().constFirst();
    const QString file = url.isLocalFile() ? url.toLocalFile() : QString();
    return file.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive) ? file : QString();
}

QString Shown(const QString& file)
{
    return QDir::toNativeSeparators(file);
}

}  // namespace

void TMainForm::ConnectProfileHandlers()
{
    profileChooser_ = &ChooseProfileFile;
    setAcceptDrops(true);
    // A file dropped onto the key edit box is a profile too, not a key name.
    RzEdit1->setAcceptDrops(false);
}

void TMainForm::SetProfileChooser(ProfileChooser chooser)
{
    profileChooser_ = chooser ? std::move(chooser) : ProfileChooser(&ChooseProfileFile);
}

QString TMainForm::ProfileOpenBlocker() const
{
    if (CurrentDevice == nullptr)
        return NoPedalReason();
    if (WriteInInFlight())
        return WriteInReason();
    // Answers still to come would replace what the file set.
    if (ReadPending)
        return NotAnsweredReason();
    return QString();
}

void TMainForm::contextMenuEvent(QContextMenuEvent* event)
{
    // The key box takes the Menu key as a key to capture, and is no place
    // for the menu.
    const bool inKeyBox = event->reason() == QContextMenuEvent::Keyboard ? RzEdit1->hasFocus()
                                                                         : childAt(event->pos()) == RzEdit1;
    if (inKeyBox) {
        event->accept();
        return;
    }
    QMenu menu(this);
    QAction* open = menu.addAction(OpenProfileActionText());
    open->setEnabled(ProfileOpenBlocker().isEmpty());
    QAction* save = menu.addAction(SaveProfileActionText());
    save->setEnabled(CurrentDevice != nullptr);
    const QAction* chosen = menu.exec(event->globalPos());
    if (chosen == open)
        OpenProfileClick();
    else if (chosen == save)
        SaveProfileClick();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedProfile(event->mimeData()).isEmpty() && ProfileOpenBlocker().isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    const QString file = DroppedProfile(event->mimeData());
    if (file.isEmpty())
        return;
    event->acceptProposedAction();
    OpenProfile(file);
}

void TMainForm::OpenProfileClick()
{
    // Said before the dialog, not after a file was chosen in vain.
    if (const QString blocker = ProfileOpenBlocker(); !blocker.isEmpty()) {
        Messages().Show(this, QMessageBox::Information, ProfileBoxCaption(), ProfileOpenBlockedText(blocker),
                        QMessageBox::Ok);
        return;
    }
    const QString file = profileChooser_(this, false, ProfileFolder::Last());
    if (!file.isEmpty())
        OpenProfile(file);
}

void TMainForm::SaveProfileClick()
{
    if (CurrentDevice == nullptr) {
        Messages().Show(this, QMessageBox::Information, ProfileBoxCaption(), ProfileSaveBlockedText(NoPedalReason()),
                        QMessageBox::Ok);
        return;
    }
    const QString file = profileChooser_(this, true, ProfileFolder::Last());
    if (!file.isEmpty())
        SaveProfile(file);
}

bool TMainForm::OpenProfile(const QString& file)
{
    if (const QString blocker = ProfileOpenBlocker(); !blocker.isEmpty()) {
        Messages().Show(this, QMessageBox::Information, ProfileBoxCaption(), ProfileOpenBlockedText(blocker),
                        QMessageBox::Ok);
        return false;
    }
    QByteArray text;
    QString reason;
    if (!ReadProfileFile(file, text, reason)) {
        Messages().Show(this, QMessageBox::Critical, ProfileBoxCaption(), ProfileUnreadableText(Shown(file), reason),
                        QMessageBox::Ok);
        return false;
    }
    const cli::ProfileParseResult profile =
        cli::ParseProfile(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                          cli::KeySlotRule::KeyTableOnly);
    if (!profile.ok) {
        Messages().Show(this, QMessageBox::Critical, ProfileBoxCaption(),
                        ProfileRefusedText(Shown(file), QString::fromStdString(profile.error)), QMessageBox::Ok);
        return false;
    }
    int fileCount = 0;
    for (const cli::ProfileEntry& entry : profile.entries)
        fileCount = std::max(fileCount, entry.pedal);
    const QString fileSerial = QString::fromStdString(profile.serial.value_or(std::string()));
    const QString pedalSerial = QString::fromStdU16String(CurrentDevice->SerialText());
    const bool otherPedal = !fileSerial.isEmpty() && fileSerial != pedalSerial;
    if (otherPedal || fileCount != PedalCount()) {
        const QString question =
            ProfileOtherPedalQuestion(Shown(file), fileSerial, pedalSerial, fileCount, PedalCount());
        if (Messages().Show(this, QMessageBox::Question, ProfileBoxCaption(), question,
                            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return false;
    }
    ApplyProfile(profile.entries, fileCount);
    ProfileFolder::Remember(file);
    return true;
}

void TMainForm::ApplyProfile(const std::vector<cli::ProfileEntry>& entries, int count)
{
    // Keys held in the key edit box belong to no row of the profile.
    if (Capture != nullptr)
        Capture->Reset();
    KeyRefusedSign->hide();
    if (count != PedalCount()) {
        // The count's own handler would read every pedal out, and the answers
        // would replace the profile's rows: only the tabs are laid out.
        {
            const QSignalBlocker quiet(RzSpinEdit1);
            RzSpinEdit1->setValue(count);
        }
        LayOutTabs();
    }
    std::vector<bool> fromFile(protocol::PedalConfigTable::kRowCount, false);
    for (const cli::ProfileEntry& entry : entries) {
        const int row = entry.pedal - 1;
        protocol::PedalAnswer shown;
        shown.isConfigAnswer = true;
        shown.modifiers = entry.bytes[0];
        std::copy(entry.bytes.begin() + 1, entry.bytes.end(), shown.keys);
        PedalConfigTable.SetRowBytes(row, entry.bytes);
        PedalConfigTable.SetKeyText(row, protocol::AnswerDisplayText(shown, naming_));
        rowStates_.UserSet(row);
        fromFile[static_cast<std::size_t>(row)] = true;
    }
    const int tab = RzTabControl1->currentIndex();
    const QString text = QString::fromStdString(PedalConfigTable.KeyText(tab));
    RzEdit1->setText(text);
    Edit1->setText(text);
    Edit2->setText(QString::fromStdString(PedalConfigTable.JoinedCodeText(tab)));
    // Pedals the count now shows that the file left out and nothing told yet.
    std::vector<int> unknown;
    for (int row = 0; row < PedalCount(); ++row)
        if (!fromFile[static_cast<std::size_t>(row)] && !rowStates_.Known(row))
            unknown.push_back(row);
    if (!unknown.empty() && IsUsable(CurrentDevice))
        ReadOut(unknown);
}

bool TMainForm::SaveProfile(const QString& file)
{
    if (CurrentDevice == nullptr) {
        Messages().Show(this, QMessageBox::Information, ProfileBoxCaption(), ProfileSaveBlockedText(NoPedalReason()),
                        QMessageBox::Ok);
        return false;
    }
    std::vector<cli::ProfileEntry> entries;
    QStringList unknown;
    for (int row = 0; row < PedalCount(); ++row) {
        if (!rowStates_.Known(row)) {
            unknown << QString::number(row + 1);
            continue;
        }
        cli::ProfileEntry entry;
        entry.pedal = row + 1;
        for (int slot = 0; slot < protocol::PedalConfigTable::kSlotCount; ++slot)
            entry.bytes[static_cast<std::size_t>(slot)] = PedalConfigTable.ByteOf(row, slot);
        entries.push_back(entry);
    }
    if (!unknown.isEmpty()) {
        Messages().Show(this, QMessageBox::Warning, ProfileBoxCaption(),
                        ProfileNotSavedText(unknown.join(QStringLiteral(", "))), QMessageBox::Ok);
        return false;
    }
    const std::string serial = QString::fromStdU16String(CurrentDevice->SerialText()).toStdString();
    std::string error;
    if (!files::WriteFileAtomically(std::filesystem::path(file.toStdU16String()), cli::ProfileJson(entries, serial),
                                    error)) {
        Messages().Show(this, QMessageBox::Critical, ProfileBoxCaption(),
                        ProfileSaveFailedText(Shown(file), QString::fromLocal8Bit(error.c_str())), QMessageBox::Ok);
        return false;
    }
    ProfileFolder::Remember(file);
    return true;
}

}  // namespace app
