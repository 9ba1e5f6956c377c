// Desktops other than Windows: window managers own the window menu there.
#include "app/ProfileSystemMenu.h"

namespace app {

std::unique_ptr<ProfileSystemMenu> ProfileSystemMenu::Install(TMainForm&)
{
    return nullptr;
}

ProfileSystemMenu::~ProfileSystemMenu() = default;

bool ProfileSystemMenu::nativeEventFilter(const QByteArray&, void*, qintptr*)
{
    return false;
}

}  // namespace app
