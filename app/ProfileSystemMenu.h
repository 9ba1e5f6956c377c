// "Open profile…" and "Save profile…" in the window's system menu, where the
// platform has one the program can extend (Windows: the menu of the window's
// icon, its commands arriving as WM_SYSCOMMAND through Qt's native event
// filter). Elsewhere Install gives nothing and the context menu is the way.
#pragma once

#include <QAbstractNativeEventFilter>

#include <memory>

namespace app {

class TMainForm;

class ProfileSystemMenu : public QAbstractNativeEventFilter {
public:
    // Adds the entries to the menu of `form`'s native window and installs the
    // filter on the application; nullptr where there is no such menu.
    static std::unique_ptr<ProfileSystemMenu> Install(TMainForm& form);
    explicit ProfileSystemMenu(TMainForm& form) : form_(form) {}
    ~ProfileSystemMenu() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    TMainForm& form_;
};

}  // namespace app
