#pragma once

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

// A small HTTP server on 127.0.0.1 that answers each path as told and records every
// request it sees.
class PageServer : public QObject {
    Q_OBJECT

public:
    enum class Kind { Page, NotFound, RedirectLoop, Endless, Silent, Dribble };
    struct Answer {
        Kind kind = Kind::Page;
        QByteArray body;
        QByteArray contentType = "text/html; charset=utf-8";
    };

    PageServer();
    QUrl url(const QString &path) const;
    void answer(const QString &path, const Answer &a) { answers_[path] = a; }

    QStringList requests;   // the paths asked for, in order

private:
    void serve(QTcpSocket *socket);

    QTcpServer server_;
    QHash<QString, Answer> answers_;
};
