#pragma once

#include <QString>
#include <QStringList>

#include "platform/fsresult.h"

// The clipboard form of a list of paths: every path followed by CR LF, the last one too. A
// path that the text cannot carry as it is (bytes of its name that are not UTF-8, a CR or LF
// in it) is written in its visible form, such bytes as \xB0.
// Whether every path was written as it stands is told through `exact`.
QString clipboardListText(const QStringList &paths, bool *exact = nullptr);

// The paths exactly, for the program's own format beside the text; and back. Empty when the
// data is not a list of paths.
QByteArray exactPathList(const QStringList &paths);
QStringList pathsFromExactList(const QByteArray &data);

// The pieces of clipboard text between the CR LF pairs, empty pieces included; a lone CR or
// LF stays inside its piece.
QStringList splitClipboardList(const QString &text);

// The failures of one walk over a list: how many, and the first one for the report.
struct FailureTally {
    int count = 0;
    QString firstPath;
    FsResult first;

    void add(const QString &path, const FsResult &r)
    {
        if (count++ == 0) {
            firstPath = path;
            first = r;
        }
    }
};

// "N 个文件未能<what>，第一个是：" + path + number and description, for the closing message.
QString failureReport(const FailureTally &tally, const QString &what);
