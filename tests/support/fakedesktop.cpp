#include "fakedesktop.h"

#include <QWidget>

bool FakeDesktop::openPath(const QString &path) { return record("open", path); }
bool FakeDesktop::showItemInFileManager(const QString &path) { return record("show", path); }
bool FakeDesktop::startProgram(const QString &path) { return record("start", path); }
bool FakeDesktop::openUrl(const QUrl &url) { return record("url", url.toString()); }
bool FakeDesktop::displayStandby(QWidget *) { return record("standby", {}); }

void FakeDesktop::minimise(QWidget *window)
{
    calls << Call{"minimise", {}};
    if (window)
        window->showMinimized();
}
