#include "platform/desktop.h"
#include "platform/displaypower.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QWidget>

#include "platform/filenames.h"
#include "platform/processstart.h"

namespace {

const QString kFileManagerService = QStringLiteral("org.freedesktop.FileManager1");
const QString kFileManagerPath = QStringLiteral("/org/freedesktop/FileManager1");

// The folder that holds a path's item; a path ending in "/" names that folder itself.
QString folderOf(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

// A file URL carries any file name, spaces, quotes, a leading '-' and bytes that are not
// UTF-8 included, as one argument: the launcher gets it percent-encoded, byte for byte, and
// no shell ever sees it. A path that cannot name a file gives an invalid URL, which is
// opened nowhere.
bool openFileUrl(const QString &path)
{
    const QUrl url = fileUrlOf(path);
    return url.isValid() && QDesktopServices::openUrl(url);
}

} // namespace

bool LinuxDesktop::openPath(const QString &path)
{
    return openFileUrl(path);
}

bool LinuxDesktop::showItemInFileManager(const QString &path)
{
    const QUrl item = fileUrlOf(path);
    if (!item.isValid())
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return openFileUrl(folderOf(path));
    // File managers are started on demand by the bus, so the service need not be running
    // yet; the call is not waited for, which keeps the window live while one starts. When no
    // file manager answers, the folder is opened without the item selected.
    QDBusMessage call = QDBusMessage::createMethodCall(kFileManagerService, kFileManagerPath,
                                                       kFileManagerService,
                                                       QStringLiteral("ShowItems"));
    call << QStringList{item.toString(QUrl::FullyEncoded)} << QString();
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 10000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [path](QDBusPendingCallWatcher *w) {
                         if (w->isError())
                             openFileUrl(folderOf(path));
                         w->deleteLater();
                     });
    return true;
}

bool LinuxDesktop::startProgram(const QString &path)
{
    return startDetached(path).ok();
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
