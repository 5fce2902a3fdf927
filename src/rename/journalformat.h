#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>

// The text of journals, shared by their writer and their reader (docs/journal.md).
namespace JournalFormat {

inline constexpr QByteArrayView Magic = "quillmere-journal";
inline constexpr int Version = 1;
inline constexpr QByteArrayView FileSuffix = ".journal";

// A file name's bytes as a field: bytes that are not printable ASCII or part of valid UTF-8,
// space and '%' become %XX; everything else stands for itself.
void appendEscaped(QByteArray &out, QByteArrayView bytes);
// The same written at `out`, which has room for three times the bytes; returns the end.
char *writeEscaped(char *out, QByteArrayView bytes);
// Back to the bytes, appended to `out`; false when a '%' is not followed by two hex digits.
bool appendUnescaped(QByteArray &out, QByteArrayView field);
// The same into an emptied `out`.
bool unescape(QByteArrayView field, QByteArray &out);

void appendNumber(QByteArray &out, quint64 value);
// Written at `out`, which has room for 20 digits; returns the end.
char *writeNumber(char *out, quint64 value);
// A whole decimal number and nothing else.
bool readNumber(QByteArrayView field, quint64 &value);

// A line after the plan: its text, a space and the CRC-32 of the text in eight hex digits,
// so that a line torn by a crash is known for what it is.
void appendRecord(QByteArray &out, QByteArrayView text);
// The text of a record whose check holds; false for anything else.
bool readRecord(QByteArrayView line, QByteArrayView &text);

quint32 crc(quint32 sum, QByteArrayView bytes);
// The check sum of two pieces one after the other, from the sums of each.
quint32 crcOfBoth(quint32 first, quint32 second, qsizetype secondSize);
void appendHex8(QByteArray &out, quint32 value);

QByteArray timeText(const QDateTime &utc);
QDateTime readTime(QByteArrayView field);

} // namespace JournalFormat
