// Starts a program anew, detached from this one: the data-error restart of
// the main window launches the running program's own executable so.
// ProgramRestart.cpp (Linux): a detached process; windows/
// ProgramRestartWindows.cpp: the shell (ShellExecute, verb "OPEN", no
// parameters, no working folder, a normal window, owned by `owner`).
#pragma once

#include <QString>

class QWidget;

namespace app {

// False when the program could not be started.
bool StartProgram(const QString& program, QWidget* owner);

}  // namespace app
