#include "app/settingspath.h"

#include <QDir>

#include "app/appinfo.h"
#include "platform/folderaccess.h"

namespace {

bool underUsr(const QString &folder)
{
    const QString clean = QDir::cleanPath(folder);
    return clean == QLatin1String("/usr") || clean.startsWith(QLatin1String("/usr/"));
}

} // namespace

QString settingsFilePath(const QString &appDir)
{
    // Joined as plain text, as the settings have always been found.
    const QString beside = appDir + QStringLiteral("/") + AppInfo::SettingsFileName;
    if (folderWritable(appDir) && !underUsr(appDir))
        return beside;
    // Read byte for byte: a home folder whose name is not UTF-8 is still the user's.
    QString config = environmentPath("XDG_CONFIG_HOME");
    if (!config.startsWith(u'/')) {
        const QString home = environmentPath("HOME");
        if (!home.startsWith(u'/'))
            return beside;
        config = home + QStringLiteral("/.config");
    }
    return config + QStringLiteral("/quillmere/") + AppInfo::SettingsFileName;
}

bool makeSettingsFolder(const QString &iniPath)
{
    return makeFolders(iniPath.left(iniPath.lastIndexOf(u'/')));
}
