#include "app/KeyboardLayoutWatch.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#include <windows.h>

#include "keys/layout/windows/WindowsLayout.h"

namespace app {
namespace {

class WindowsLayoutWatch final : public KeyboardLayoutWatch, public QAbstractNativeEventFilter {
public:
    explicit WindowsLayoutWatch(Changed changed) : changed_(std::move(changed))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
        Refresh();
    }
    ~WindowsLayoutWatch() override
    {
        if (QCoreApplication::instance() != nullptr)
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    void Refresh() override
    {
        const HKL layout = keys::WindowsLayout::ForegroundLayout();
        if (layout == current_)
            return;
        current_ = layout;
        changed_(keys::KeyNaming(keys::WindowsLayout(layout)));
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType == "windows_generic_MSG" &&
            static_cast<const MSG*>(message)->message == WM_INPUTLANGCHANGE)
            Refresh();
        return false;  // the window goes on handling it
    }

private:
    Changed changed_;
    HKL current_ = nullptr;
};

}  // namespace

std::unique_ptr<KeyboardLayoutWatch> KeyboardLayoutWatch::Start(QWidget&, Changed changed)
{
    // Qt's offscreen platform (the tests) types with no desktop layout.
    if (QGuiApplication::platformName() != QLatin1String("windows"))
        return nullptr;
    return std::make_unique<WindowsLayoutWatch>(std::move(changed));
}

}  // namespace app
