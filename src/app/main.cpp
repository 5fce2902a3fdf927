#include <QApplication>

#include "app/appinfo.h"
#include "app/form1.h"
#include "app/translation.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::Title);
    installQtTranslation(app);

    QtDialogs dialogs;
    LinuxDesktop desktop;
    auto *window = new Form1(dialogs, desktop, QCoreApplication::applicationDirPath());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    // The program ends when its last window has closed; windows without an owner outlive
    // the main window.
    return app.exec();
}
