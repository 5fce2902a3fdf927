#include "app/settingspath.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include "app/appinfo.h"
#include "platform/folderaccess.h"

namespace {

bool underUsr(const QString &folder)
{
    const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    return clean == QLatin1String("/usr") || clean.startsWith(QLatin1String("/usr/"));
}

} // namespace

QString settingsFilePath(const QString &appDir)
{
    // Joined as plain text, as the settings have always been found.
    const QString beside = appDir + QStringLiteral("/") + AppInfo::SettingsFileName;
    if (folderWritable(appDir) && !underUsr(appDir))
        return beside;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty())
        return beside;
    return config + QStringLiteral("/quillmere/") + AppInfo::SettingsFileName;
}

bool makeSettingsFolder(const QString &iniPath)
{
    QString folder = QFileInfo(iniPath).absolutePath();
    QStringList missing;
    while (!QFileInfo::exists(folder)) {
        missing.prepend(folder);
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    for (const QString &f : std::as_const(missing))
        if (!QDir().mkdir(f, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return false;
    return true;
}
