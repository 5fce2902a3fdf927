#include "fakedesktop.h"

#include <QWidget>

bool FakeDesktop::openPath(const QString &path)
{
    calls << Call{QStringLiteral("open"), path};
    return succeed;
}

bool FakeDesktop::showItemInFileManager(const QString &path)
{
    calls << Call{QStringLiteral("show"), path};
    return succeed;
}

bool FakeDesktop::startProgram(const QString &path)
{
    calls << Call{QStringLiteral("start"), path};
    return succeed;
}

bool FakeDesktop::openUrl(const QUrl &url)
{
    calls << Call{QStringLiteral("url"), url.toString()};
    return succeed;
}

bool FakeDesktop::displayStandby(QWidget *)
{
    calls << Call{QStringLiteral("standby"), QString()};
    return succeed;
}

void FakeDesktop::minimise(QWidget *window)
{
    calls << Call{QStringLiteral("minimise"), QString()};
    if (window)
        window->showMinimized();
}
