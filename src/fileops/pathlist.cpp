#include "fileops/pathlist.h"

namespace {
const QString kLineEnd = QStringLiteral("\r\n");
}

QString clipboardListText(const QStringList &paths)
{
    qsizetype size = 0;
    for (const QString &p : paths)
        size += p.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString &p : paths) {
        text += p;
        text += kLineEnd;
    }
    return text;
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
