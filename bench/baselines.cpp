// The bare loops that the program's figures are measured against.
#include "benchmark.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>

std::vector<std::string> readdirLoop(const QString &folder)
{
    std::vector<std::string> names;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const char *n = entry->d_name;
        if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')))
            continue;
        names.emplace_back(n);
    }
    ::closedir(dir);
    return names;
}

double bareRenamesSeconds(const QStringList &from, const QStringList &to)
{
    std::vector<QByteArray> src, dst;
    src.reserve(size_t(from.size()));
    dst.reserve(size_t(from.size()));
    for (qsizetype i = 0; i < from.size(); ++i) {
        src.push_back(QFile::encodeName(from[i]));
        dst.push_back(QFile::encodeName(to[i]));
    }
    return secondsOf([&] {
        for (size_t i = 0; i < src.size(); ++i)
            ::renameat2(AT_FDCWD, src[i].constData(), AT_FDCWD, dst[i].constData(), RENAME_NOREPLACE);
    });
}

QString photoName(int i)
{
    return QStringLiteral("photo_%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
}

QString renamedPhotoName(int i)
{
    return QStringLiteral("文件%1.jpg").arg(i);
}

void makeEmptyFiles(const QString &folder, int n, QString (*name)(int))
{
    for (int i = 0; i < n; ++i)
        QFile(folder + u'/' + name(i)).open(QIODevice::WriteOnly);
}

double bareBatchSeconds(const QString &folder, int n, bool undo)
{
    QStringList from, to;
    for (int k = 0; k < n; ++k) {
        const int i = undo ? n - 1 - k : k;
        from << folder + u'/' + (undo ? renamedPhotoName(i) : photoName(i));
        to << folder + u'/' + (undo ? photoName(i) : renamedPhotoName(i));
    }
    return bareRenamesSeconds(from, to);
}
