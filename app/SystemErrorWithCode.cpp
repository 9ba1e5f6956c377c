#include "app/SystemErrorText.h"

namespace app {

QString SystemErrorWithCode(const SystemErrorWords& words)
{
    const QString text = words.text + QStringLiteral(" (") + words.code + QLatin1Char(')');
    return words.text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.');
}

}  // namespace app
