// Start-up and closing of the main window: the last folder is restored from FilePath.ini
// (beside the executable, or in the user's configuration folder for an installed copy) and
// written back when the window closes.
#include "app/form1.h"

#include <QComboBox>
#include <QDir>
#include <QProgressBar>

#include "app/appinfo.h"
#include "app/profile.h"
#include "app/settingspath.h"
#include "browse/volumes.h"
#include "platform/folderaccess.h"

namespace {

// A saved folder may have vanished (deleted, volume unmounted): its nearest existing
// ancestor is the best guess at what the user meant. A value that is not a full path names
// no folder.
QString nearestExistingFolder(const QString &saved, const QString &fallback)
{
    if (!saved.startsWith(u'/'))
        return fallback;
    for (QString path = QDir::cleanPath(saved);; path = path.left(qMax(1, path.lastIndexOf(u'/')))) {
        if (isFolder(path))
            return path;
        if (path == QLatin1String("/"))
            return fallback;
    }
}

} // namespace

void Form1::Form_Load()
{
    ActiveList = 2;
    IniPath = settingsFilePath(appDir_);
    GetAddPath();
    ProgressBar1->setVisible(false);
}

void Form1::GetAddPath()
{
    const QString saved = readProfilePath(IniPath, AppInfo::SettingsSection, AppInfo::SettingsKey)
                              .value_or(appDir_);
    const QString folder = nearestExistingFolder(saved, QDir::cleanPath(appDir_));
    // The drive list is set without its change handler: that would list the volume's root only
    // for the folder tree to move on at once. The folder change below fills the panes.
    {
        const QSignalBlocker quiet(Drive1);
        setDrive1(volumeOf(folder, volumes_));
    }
    setDir1(folder);
}

void Form1::Form_QueryUnload()
{
    // A failed write is not reported: the next start shows the folder saved before.
    makeSettingsFolder(IniPath);
    writeProfilePath(IniPath, AppInfo::SettingsSection, AppInfo::SettingsKey, dir1Path_);
}
