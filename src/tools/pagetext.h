#pragma once

#include <QByteArray>
#include <QString>

// What the recommendation window shows when the page holds no paragraph text (or none came).
inline const QString PageErrorText = QStringLiteral("出错啦！请稍后重试！");

// The page is someone else's, and the rich-text layout that shows it slows down sharply with
// size and nesting, so what the extraction keeps is bounded. Elements nested deeper than
// PageMaxDepth inside a paragraph, and the table parts of tables nested deeper than
// PageMaxTables, lose their tags but keep their text; the text ends where it would pass
// PageMaxText characters (nested paragraphs repeat their whole inside, so a small page can
// ask for an enormous text).
inline constexpr int PageMaxDepth = 32;
inline constexpr int PageMaxTables = 3;
inline constexpr qsizetype PageMaxText = 32 * 1024;

// The inner markup of every "p" element of an HTML page, in document order, each followed by
// "<p></p>"; PageErrorText when every paragraph is empty or there is none. contentType is the
// page's Content-Type header, whose charset (when given) decides how the bytes are read.
QString pageParagraphs(const QByteArray &page, const QByteArray &contentType = QByteArray());
