#include "app/ProgramRestart.h"

#include <QProcess>
#include <QStringList>

namespace app {

bool StartProgram(const QString& program, QWidget*)
{
    return QProcess::startDetached(program, QStringList());
}

}  // namespace app
