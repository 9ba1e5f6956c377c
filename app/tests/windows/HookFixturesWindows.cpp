#include "app/tests/HookFixtures.h"

#include <windows.h>

#include <QDir>

#include <cstring>

#include "capture/ExecutableFolder.h"

namespace app::test {
namespace {

// The fixtures lie in app-fixtures/ beside the test program.
QString FixtureFolder(const char* name)
{
    return QString::fromStdString(capture::ExecutableFolder()) + QStringLiteral("\\app-fixtures\\") +
           QLatin1String(name);
}

int FixtureCounter(const QString& folder, const char* name)
{
    const std::wstring path = QDir::toNativeSeparators(folder + QStringLiteral("/Hookmod.dll")).toStdWString();
    HMODULE module = GetModuleHandleW(path.c_str());
    if (module == nullptr)
        return -1;
    const auto* counter = reinterpret_cast<const int*>(GetProcAddress(module, name));
    return counter != nullptr ? *counter : -1;
}

}  // namespace

QString RecordingHookFolder() { return FixtureFolder("recording"); }
QString HookWithoutOffFolder() { return FixtureFolder("without-off"); }

int HookOnCalls(const QString& folder) { return FixtureCounter(folder, "app_fixture_on_calls"); }
int HookOffCalls(const QString& folder) { return FixtureCounter(folder, "app_fixture_off_calls"); }

std::optional<std::uint32_t> BlockValue(const std::string& name)
{
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
    if (mapping == nullptr)
        return std::nullopt;
    std::optional<std::uint32_t> value;
    if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(std::uint32_t))) {
        std::uint32_t number = 0;
        std::memcpy(&number, view, sizeof number);
        value = number;
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return value;
}

std::string PrivateBlockName(const char* purpose)
{
    return "Local\\varnok-app-test-" + std::to_string(GetCurrentProcessId()) + "-" + purpose;
}

std::string UnusableBlockName()
{
    return "Local\\no such namespace\\block";
}

void RemoveBlock(const std::string&)
{
}

}  // namespace app::test
