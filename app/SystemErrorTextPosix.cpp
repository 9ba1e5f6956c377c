#include "app/SystemErrorText.h"

#include <QCoreApplication>

#include <cstring>

namespace app {

SystemErrorWords DescribeSystemError(int error, std::uint32_t)
{
    // errno is the platform's own code here.
    return {QString::fromLocal8Bit(std::strerror(error)), QCoreApplication::translate("AccessAdvice", "error %1").arg(error), false, QString()};
}

}  // namespace app
