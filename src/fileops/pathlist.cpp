#include "fileops/pathlist.h"

#include <QDataStream>
#include <QIODevice>

#include "platform/filenames.h"

namespace {
const QString kLineEnd = QStringLiteral("\r\n");

// Whether a path goes into the text as it stands: no character that stands for a byte, and
// no line break that would split it.
bool plainText(const QString &path)
{
    const qsizetype n = path.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = path[i];
        if (c == u'\r' || c == u'\n')
            return false;
        if (c.isHighSurrogate() && i + 1 < n && path[i + 1].isLowSurrogate())
            ++i;   // a character beyond U+FFFF, written as a pair
        else if (c.isSurrogate())
            return false;
    }
    return true;
}

} // namespace

QString clipboardListText(const QStringList &paths, bool *exact)
{
    bool allPlain = true;
    qsizetype size = 0;
    for (const QString &p : paths)
        size += p.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString &p : paths) {
        const bool plain = plainText(p);
        allPlain = allPlain && plain;
        text += plain ? p : visibleFileName(p);
        text += kLineEnd;
    }
    if (exact)
        *exact = allPlain;
    return text;
}

QByteArray exactPathList(const QStringList &paths)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << paths;
    return data;
}

QStringList pathsFromExactList(const QByteArray &data)
{
    QStringList paths;
    QDataStream in(data);
    in >> paths;
    return in.status() == QDataStream::Ok && in.atEnd() ? paths : QStringList();
}

QStringList splitClipboardList(const QString &text)
{
    return text.split(kLineEnd, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

QString failureReport(const FailureTally &tally, const QString &what)
{
    return QStringLiteral("%1 个文件未能%2，第一个是：\r\n%3\r\n")
               .arg(tally.count)
               .arg(what, tally.firstPath)
           + reportText(tally.first);
}
