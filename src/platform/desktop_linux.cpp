#include "platform/desktop.h"
#include "platform/displaypower.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QWidget>

namespace {

const QString kFileManagerService = QStringLiteral("org.freedesktop.FileManager1");
const QString kFileManagerPath = QStringLiteral("/org/freedesktop/FileManager1");

// A file URL carries any file name, spaces, quotes and a leading '-' included, as one
// argument: the launcher gets it percent-encoded, and no shell ever sees it.
QUrl fileUrl(const QString &path)
{
    return QUrl::fromLocalFile(path);
}

bool openFolderOf(const QString &path)
{
    return QDesktopServices::openUrl(fileUrl(QFileInfo(QDir::cleanPath(path)).absolutePath()));
}

} // namespace

bool LinuxDesktop::openPath(const QString &path)
{
    if (path.isEmpty())
        return false;
    return QDesktopServices::openUrl(fileUrl(path));
}

bool LinuxDesktop::showItemInFileManager(const QString &path)
{
    if (path.isEmpty())
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return openFolderOf(path);
    // File managers are started on demand by the bus, so the service need not be running
    // yet; the call is not waited for, which keeps the window live while one starts. When no
    // file manager answers, the folder is opened without the item selected.
    QDBusMessage call = QDBusMessage::createMethodCall(kFileManagerService, kFileManagerPath,
                                                       kFileManagerService,
                                                       QStringLiteral("ShowItems"));
    call << QStringList{fileUrl(path).toString(QUrl::FullyEncoded)} << QString();
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 10000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [path](QDBusPendingCallWatcher *w) {
                         if (w->isError())
                             openFolderOf(path);
                         w->deleteLater();
                     });
    return true;
}

bool LinuxDesktop::startProgram(const QString &path)
{
    if (path.isEmpty())
        return false;
    return QProcess::startDetached(path, {});
}

bool LinuxDesktop::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

bool LinuxDesktop::displayStandby(QWidget *window)
{
    return requestDisplayStandby(window);
}

void LinuxDesktop::minimise(QWidget *window)
{
    if (window)
        window->showMinimized();
}
