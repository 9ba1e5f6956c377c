#include "app/KeyboardLayoutWatch.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWidget>

#include "keys/layout/X11Layout.h"

namespace app {
namespace {

class X11LayoutWatch final : public KeyboardLayoutWatch {
public:
    X11LayoutWatch(std::unique_ptr<keys::X11Layout> layout, Changed changed, QWidget& window)
        : layout_(std::move(layout)), changed_(std::move(changed)),
          notifier_(layout_->Fd(), QSocketNotifier::Read, &window)
    {
        QObject::connect(&notifier_, &QSocketNotifier::activated, &window, [this] { Refresh(); });
        changed_(keys::KeyNaming(layout_->Layout()));
    }

    void Refresh() override
    {
        if (layout_->HandleEvents())
            changed_(keys::KeyNaming(layout_->Layout()));
    }

private:
    std::unique_ptr<keys::X11Layout> layout_;
    Changed changed_;
    QSocketNotifier notifier_;
};

}  // namespace

std::unique_ptr<KeyboardLayoutWatch> KeyboardLayoutWatch::Start(QWidget& window, Changed changed)
{
    // Only a window on the X server types with the server's layout.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    std::unique_ptr<keys::X11Layout> layout = keys::X11Layout::Connect();
    if (!layout)
        return nullptr;
    return std::make_unique<X11LayoutWatch>(std::move(layout), std::move(changed), window);
}

}  // namespace app
