#include "app/HookMessageFilter.h"

#include <QCoreApplication>

namespace app {

HookMessageFilter::HookMessageFilter(TMainForm& form, std::uint32_t atom)
    : form_(form), atom_(atom)
{
}

HookMessageFilter::~HookMessageFilter()
{
    if (installed_ && QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void HookMessageFilter::InstallOnApplication()
{
    QCoreApplication::instance()->installNativeEventFilter(this);
    installed_ = true;
}

}  // namespace app
