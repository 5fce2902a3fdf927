#include "platform/desktop.h"
#include "platform/displaypower.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QWidget>

namespace {

const QString kFileManagerService = QStringLiteral("org.freedesktop.FileManager1");

} // namespace

bool LinuxDesktop::openPath(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool LinuxDesktop::showItemInFileManager(const QString &path)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface()
        && bus.interface()->isServiceRegistered(kFileManagerService).value()) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            kFileManagerService, QStringLiteral("/org/freedesktop/FileManager1"),
            kFileManagerService, QStringLiteral("ShowItems"));
        call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
        const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
        if (reply.type() == QDBusMessage::ReplyMessage)
            return true;
    }
    // No file manager on the bus: open the folder that holds the item.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

bool LinuxDesktop::startProgram(const QString &path)
{
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
