#include "platform/filelookup.h"

#include <dirent.h>
#include <sys/stat.h>

#include "browse/patterns.h"
#include "platform/filenames.h"

namespace {

// `name` is the entry's own name: names starting with "." are this platform's hidden files,
// which a plain-file lookup skips.
bool isKind(const struct stat &st, const char *name, LookupKind kind)
{
    if (kind == LookupKind::Any)
        return true;
    return S_ISREG(st.st_mode) && name[0] != '.';
}

bool hasWildcard(QStringView name)
{
    return name.contains(u'*') || name.contains(u'?');
}

bool isDotOrDotDot(const char *n)
{
    return n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'));
}

} // namespace

bool findFirst(const QString &pattern, LookupKind kind)
{
    // A path the kernel cannot take as given (relative, holding NUL) finds nothing.
    const std::optional<QByteArray> path = kernelPath(pattern);
    if (!path || path->endsWith('/'))
        return false;
    const qsizetype slash = path->lastIndexOf('/');
    struct stat st {};
    if (::stat(path->constData(), &st) == 0 && isKind(st, path->constData() + slash + 1, kind))
        return true;
    // Wildcards count in the name part only; a ";" there is part of the name, not a list.
    const QStringView name = QStringView(pattern).mid(pattern.lastIndexOf(u'/') + 1);
    if (!hasWildcard(name))
        return false;
    const NamePatterns patterns = NamePatterns::single(name.toString());
    // An unreadable or missing folder lists nothing, which is the "not found" we want.
    DIR *dir = ::opendir(slash == 0 ? "/" : path->left(slash).constData());
    if (!dir)
        return false;
    bool found = false;
    while (const dirent *entry = ::readdir(dir)) {
        const char *n = entry->d_name;
        if (isDotOrDotDot(n) || (kind == LookupKind::PlainFiles && n[0] == '.'))
            continue;
        if (patterns.matches(decodeFileName(n)) && ::fstatat(::dirfd(dir), n, &st, 0) == 0
            && isKind(st, n, kind)) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

bool isExecutableFile(const QString &path)
{
    const std::optional<QByteArray> bytes = kernelPath(path);
    struct stat st {};
    return bytes && ::stat(bytes->constData(), &st) == 0 && S_ISREG(st.st_mode)
           && (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0;
}
