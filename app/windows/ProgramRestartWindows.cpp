#include "app/ProgramRestart.h"

#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <QDir>
#include <QWidget>

#include <string>

namespace app {

bool StartProgram(const QString& program, QWidget* owner)
{
    const std::wstring path = QDir::toNativeSeparators(program).toStdWString();
    HWND window = owner != nullptr ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
    // Values above 32 mean success.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(window, L"OPEN", path.c_str(), L"", L"", SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace app
