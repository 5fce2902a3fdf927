#pragma once

#include <QByteArray>
#include <QString>

// A file that the program reads whole into memory, such as its settings file. Anything else
// found at the path — a FIFO that would block the read until someone writes to it, a device
// such as /dev/zero that never ends, a file too large to be what the program wrote — is
// neither read nor to be written over: it is not the program's, whoever put it there.
struct SmallFile {
    enum class Kind {
        Missing,   // nothing there (or a link to nothing)
        Regular,   // a regular file (links followed) of at most the size asked for; content holds it
        Other,     // anything else, or a file that cannot be read
    };
    Kind kind = Kind::Missing;
    QByteArray content;
};

SmallFile readSmallFile(const QString &path, qint64 maxBytes);

// Writes a file whole: a hidden temporary file in the same folder, brought to the disk, then
// renamed over the old one, so that a crash never leaves half a file. False when it cannot be
// written, the old file (if any) untouched.
bool writeSmallFile(const QString &path, const QByteArray &content);
