#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <optional>

// A file name here is a string of bytes, not text. The program carries every name and path
// as text that turns back into the very same bytes: valid UTF-8 reads as usual, and each
// byte that is not part of valid UTF-8 becomes a lone surrogate U+DC80..U+DCFF of its own,
// which no valid UTF-8 produces. Every crossing between the file system or the desktop and
// the program's text goes through these functions.

// The text of a name or path read from the file system. Never loses a byte: two different
// byte strings never give the same text.
QString decodeFileName(QByteArrayView bytes);

// The bytes of a text that decodeFileName gave, exactly as they were. Other texts encode as
// UTF-8 too; a lone surrogate that is not a byte of its own is written in UTF-8's form for a
// surrogate, which no file name holds (kernelPath refuses such a text).
QByteArray encodeFileName(QStringView text);
// The same bytes, appended to `out`: many names one after another make no buffer each.
void appendFileName(QByteArray &out, QStringView text);

// The bytes to hand the kernel for a path, or nothing when the text cannot name a file as
// given: a path that is not absolute (it would be looked up from the process's working
// folder, which nobody chose), one holding U+0000 (the kernel would cut it there), and one
// that decodeFileName cannot have given (a surrogate that is not a byte, or bytes written as
// escapes that form valid UTF-8 and so would name another entry's file). Callers report
// such a path as EINVAL.
std::optional<QByteArray> kernelPath(QStringView path);

// A name as the lists show it. Each byte that is not UTF-8, and each control character,
// is written \xHH (two upper-case hex digits): two different names never look the same, and
// a name that is not text still shows every byte. A backslash is doubled only where it
// could be read as the start of such an escape (before "x", before another backslash or
// before an escape), so the common names that hold a backslash show as they are.
QString visibleFileName(QStringView text);

// The exact path a local file URL names: its percent-encoded bytes, decoded as names are.
// The empty text for anything else: another scheme or host, a query or fragment (the path
// alone would name another file), or a path that no file can have (not absolute, an
// encoded "/" or NUL).
QString pathFromFileUrl(const QUrl &url);

// The file URL of a path, its exact bytes percent-encoded; an invalid URL for a path that
// kernelPath refuses.
QUrl fileUrlOf(const QString &path);
