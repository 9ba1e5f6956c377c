#include "app/ProfileFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace app {
namespace {

const QString kKey = QStringLiteral("profiles/lastFolder");

QSettings Settings()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QSettings(QDir(folder).filePath(QStringLiteral("profiles.ini")), QSettings::IniFormat);
}

}  // namespace

QString ProfileFolder::Last()
{
    const QString folder = Settings().value(kKey).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void ProfileFolder::Remember(const QString& file)
{
    Settings().setValue(kKey, QFileInfo(file).absolutePath());
}

}  // namespace app
