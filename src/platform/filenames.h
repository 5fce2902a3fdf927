#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The file system's bytes of a name in the program's text, and back. The pair must not lose a
// byte either way: a name read from the disk is found again by the bytes it came from.
// (What QFile::encodeName and decodeName give where names are UTF-8, without their general
// converter, which costs several times as much on the thousands of names of a batch.)
inline QByteArray encodeFileName(QStringView name)
{
    return name.toUtf8();
}

inline QString decodeFileName(QByteArrayView bytes)
{
    return QString::fromUtf8(bytes);
}
