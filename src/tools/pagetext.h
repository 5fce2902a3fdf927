#pragma once

#include <QByteArray>
#include <QString>

// What the recommendation window shows when the page holds no paragraph text (or none came).
inline const QString PageErrorText = QStringLiteral("出错啦！请稍后重试！");

// The inner markup of every "p" element of an HTML page, in document order, each followed by
// "<p></p>"; PageErrorText when every paragraph is empty or there is none. contentType is the
// page's Content-Type header, whose charset (when given) decides how the bytes are read.
QString pageParagraphs(const QByteArray &page, const QByteArray &contentType = QByteArray());
