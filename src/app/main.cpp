#include <QApplication>
#include <QSessionManager>

#include "app/appinfo.h"
#include "app/form1.h"
#include "app/translation.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/folderaccess.h"
#include "platform/termination.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::Title);
    installQtTranslation(app);

    QtDialogs dialogs;
    LinuxDesktop desktop;
    // The program's folder by its exact bytes: Qt's own answer loses those that are not UTF-8.
    QString appDir = executableFolder();
    if (appDir.isEmpty())
        appDir = QCoreApplication::applicationDirPath();
    auto *window = new Form1(dialogs, desktop, appDir);
    window->setAttribute(Qt::WA_DeleteOnClose);

    // Asked to end (a signal, the end of the session), every window closes as through its
    // close box: the main window saves its folder, and a command under way stops at its next
    // yield before the window goes.
    const auto closeEveryWindow = [] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible())
                w->close();
        }
    };
    onTerminationRequest(&app, closeEveryWindow);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                     [closeEveryWindow](QSessionManager &) { closeEveryWindow(); });

    window->show();
    // The program ends when its last window has closed; windows without an owner outlive
    // the main window.
    return app.exec();
}
