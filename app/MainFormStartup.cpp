// The main window's creation handler and the reporting of its failures.
#include <QLineEdit>

#include <string>

#include "app/ErrorBox.h"
#include "app/KeyboardLayoutWatch.h"
#include "app/MainForm.h"
#include "app/MessageSink.h"
#include "app/ProfileSystemMenu.h"
#include "app/StartupError.h"
#include "capture/ArchiveExtractionFolder.h"
#include "capture/ExecutableFolder.h"

namespace app {

void TMainForm::SetHookLibraryFolder(const QString& folder)
{
    hookFolder_ = folder;
}

void TMainForm::SetHookBlockName(const std::string& name)
{
    hookBlock_ = name;
}

void TMainForm::SetMessageSink(MessageSink* sink)
{
    messages_ = sink != nullptr ? sink : messageBox_.get();
}

MessageSink& TMainForm::Messages() const
{
    return *messages_;
}

void TMainForm::FormCreate()
{
    // 1. CapturedKeyList, empty; the capture shows combinations in the key
    //    edit box (whose change handler enters them) and the usage numbers
    //    in Edit1.
    Capture = std::make_unique<capture::KeyCapture>(capture::CaptureView{
        [this](const std::string& text) { ShowCapturedCombination(text); },
        [this](const std::string& text) { Edit1->setText(QString::fromStdString(text)); },
        [this](const std::string& key) { ShowKeyRefused(key); },
        [this](const std::string& name, std::chrono::steady_clock::time_point at) { return TypedByPedal(name, at); },
    });
    Capture->SetNaming(naming_);

    // 2.-5. Load the hook library, resolve HookOn/HookOff, create or reuse the
    //       shared block and publish the window id in it. A block that cannot
    //       be mapped for writing has no message: the id stays unpublished and
    //       creation goes on.
    const std::string folder =
        hookFolder_.isEmpty() ? capture::ExecutableFolder() : hookFolder_.toStdString();
    const auto windowId = static_cast<std::uint32_t>(winId());
    const capture::HookLinkStatus status = HookLink.Load(folder, windowId, hookBlock_);
    if (const std::string_view message = capture::StartupMessage(status); !message.empty()) {
        // Started from inside a zip, the program came out of it alone.
        if (status == capture::HookLinkStatus::LibraryNotFound &&
            capture::IsArchiveExtractionFolder(folder, capture::TemporaryFolder()))
            throw StartupError(std::string(message) + std::string(capture::kUnpackArchiveHint));
        throw StartupError(std::string(message));
    }

    // 6. The diagnostic write fields, by name.
    if (WriteEdits[1] == nullptr) {
        for (int i = 1; i <= 7; ++i)
            WriteEdits[i] = findChild<QLineEdit*>(QStringLiteral("Write%1").arg(i));
    }

    // 7. The device-change handler once more: the layout connected the same
    //    one, so nothing changes and no scan starts.
    HidCtl.SetOnDeviceChange(hid::MakeHandler(this, &TMainForm::HidCtlDeviceChange));
}

void TMainForm::RunFormCreate()
{
    try {
        FormCreate();
    } catch (const StartupError& error) {
        ShowErrorBox(Messages(), nullptr, QString::fromUtf8(error.what()));
    }
    CheckCaptureAvailable();
    // The native window exists from FormCreate on.
    profileMenu_ = ProfileSystemMenu::Install(*this);
    StartPedalKeyboardInput();
    layoutWatch_ = KeyboardLayoutWatch::Start(
        *this, [this](keys::KeyNaming naming) { SetKeyNaming(std::move(naming)); });
}

}  // namespace app
