// Start-up and closing of the main window: the last folder is restored from FilePath.ini
// (beside the executable, or in the user's configuration folder for an installed copy) and
// written back when the window closes.
#include "app/form1.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>

#include "app/appinfo.h"
#include "app/profile.h"
#include "app/settingspath.h"
#include "browse/volumes.h"

namespace {

// A saved folder may have vanished (deleted, volume unmounted): its nearest existing
// ancestor is the best guess at what the user meant.
QString nearestExistingFolder(const QString &saved, const QString &fallback)
{
    if (saved.isEmpty())
        return fallback;
    QString path = QDir::cleanPath(QFileInfo(saved).absoluteFilePath());
    while (!path.isEmpty()) {
        if (QFileInfo(path).isDir())
            return path;
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    return fallback;
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
    const QString saved = readProfileString(IniPath, AppInfo::SettingsSection, AppInfo::SettingsKey)
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
    writeProfileString(IniPath, AppInfo::SettingsSection, AppInfo::SettingsKey, dir1Path_);
}
