#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A small reader and writer of the profile format of FilePath.ini: "[section]" lines and
// "key=value" lines, names matched without regard to case, UTF-8 text. A write changes the
// one line of its key and keeps every other byte of the file as it was. Blanks around names and
// values are not part of them; a value with blanks at its ends is therefore written in quotes.

std::optional<QString> profileValue(const QByteArray &content, const QString &section,
                                    const QString &key);
QByteArray withProfileValue(const QByteArray &content, const QString &section, const QString &key,
                            const QString &value);
// The content without the key's line in the section.
QByteArray withoutProfileKey(const QByteArray &content, const QString &section, const QString &key);

// What is not a regular file of at most this size is not read, and never written over: a
// settings file of a few lines never comes near it.
inline constexpr qint64 kMaxProfileBytes = 1024 * 1024;

// Nothing when the file is missing, is not such a file, or has no such key.
std::optional<QString> readProfileString(const QString &file, const QString &section,
                                         const QString &key);
// Writes the whole file to a temporary file renamed over the old one, so a crash never leaves
// half a file. False, with the file untouched, when the value, section or key holds a line
// break (a line-based file cannot keep it), when the file cannot be written, or when what is
// there is not a file of the kind read above.
bool writeProfileString(const QString &file, const QString &section, const QString &key,
                        const QString &value);

// A path kept in the file, every byte of it. A path whose name is UTF-8 is the key's value as
// it always was. One with bytes that are not UTF-8 is written in its visible form (such bytes
// as \xB0), which any reader of the format can read, and exactly, percent-encoded, under the
// key's name followed by ".bytes"; the exact form is taken back only while the visible one
// still matches it, so a value edited by hand wins.
std::optional<QString> readProfilePath(const QString &file, const QString &section,
                                       const QString &key);
bool writeProfilePath(const QString &file, const QString &section, const QString &key,
                      const QString &path);
