#pragma once

#include <QList>
#include <QString>

#include "platform/desktop.h"

// Records the hand-offs to the desktop instead of making them.
class FakeDesktop final : public Desktop {
public:
    struct Call {
        QString what;   // "open", "show", "start", "url", "standby", "minimise"
        QString arg;
        bool operator==(const Call &o) const { return what == o.what && arg == o.arg; }
    };

    bool openPath(const QString &path) override;
    bool showItemInFileManager(const QString &path) override;
    bool startProgram(const QString &path) override;
    bool openUrl(const QUrl &url) override;
    bool displayStandby(QWidget *window) override;
    void minimise(QWidget *window) override;

    QList<Call> calls;
    bool succeed = true;   // what each hand-off reports

private:
    bool record(const QString &what, const QString &arg)
    {
        calls << Call{what, arg};
        return succeed;
    }
};
