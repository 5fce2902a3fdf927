#pragma once

#include <QString>

#include "platform/fsresult.h"

struct TextResult {
    QString text;
    FsResult error;
    bool ok() const { return error.ok(); }
};

QString GetDir(const QString &p, QChar sep = u'/');
QString GetRelPath(const QString &p, QChar sep = u'/');
QString GetHouZhui(const QString &p);
TextResult GetMidName(const QString &p, QChar sep = u'/');
bool FileExists(const QString &p);
