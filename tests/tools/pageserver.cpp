#include "pageserver.h"

#include <QTcpSocket>
#include <QTimer>

PageServer::PageServer()
{
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *s = server_.nextPendingConnection()) {
            connect(s, &QTcpSocket::readyRead, this, [this, s] { serve(s); });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        }
    });
}

QUrl PageServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
}

void PageServer::serve(QTcpSocket *s)
{
    QByteArray head = s->property("head").toByteArray() + s->readAll();
    s->setProperty("head", head);
    if (!head.contains("\r\n\r\n"))
        return;
    s->setProperty("head", QByteArray());
    const QString path = QString::fromLatin1(head.split(' ').value(1));
    requests << path;
    const Answer a = answers_.value(path, Answer{Kind::NotFound, {}, {}});
    switch (a.kind) {
    case Kind::Page:
        s->write("HTTP/1.1 200 OK\r\nContent-Type: " + a.contentType + "\r\nContent-Length: "
                 + QByteArray::number(a.body.size()) + "\r\nConnection: close\r\n\r\n" + a.body);
        s->disconnectFromHost();
        break;
    case Kind::NotFound:
        s->write("HTTP/1.1 404 Not Found\r\nContent-Length: 14\r\nConnection: close\r\n\r\n"
                 "<p>missing</p>");
        s->disconnectFromHost();
        break;
    case Kind::RedirectLoop:
        s->write("HTTP/1.1 302 Found\r\nLocation: " + path.toLatin1()
                 + "\r\nContent-Length: 0\r\n\r\n");
        break;
    case Kind::Endless: {
        // A body without end: the reader has to stop on its own.
        s->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n");
        const QByteArray chunk = QByteArray("<p>more</p>").repeated(6000);
        for (int i = 0; i < 40 && s->state() == QAbstractSocket::ConnectedState; ++i)
            s->write(chunk);
        break;
    }
    case Kind::Silent:
        break;
    case Kind::Dribble: {
        // One byte a second, without end.
        s->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<p>");
        auto *timer = new QTimer(s);
        connect(timer, &QTimer::timeout, s, [s] { s->write("x"); });
        timer->start(1000);
        break;
    }
    }
}
