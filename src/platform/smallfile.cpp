#include "platform/smallfile.h"


#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/filenames.h"

namespace {

bool fits(const struct stat &st, qint64 maxBytes)
{
    return S_ISREG(st.st_mode) && st.st_size <= maxBytes;
}

SmallFile other()
{
    return {SmallFile::Kind::Other, {}};
}

} // namespace

SmallFile readSmallFile(const QString &path, qint64 maxBytes)
{
    const std::optional<QByteArray> kernelName = kernelPath(path);
    if (!kernelName)
        return other();
    const QByteArray &name = *kernelName;
    struct stat st {};
    // Looked at before it is opened: opening a device can have effects of its own.
    if (::stat(name.constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? SmallFile{} : other();
    if (!fits(st, maxBytes))
        return other();
    // Not blocking, and looked at again through the descriptor, in case the path was swapped
    // for a FIFO or a device in between.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? SmallFile{} : other();
    SmallFile file{SmallFile::Kind::Regular, {}};
    if (::fstat(fd, &st) != 0 || !fits(st, maxBytes)) {
        ::close(fd);
        return other();
    }
    // The file may grow while it is read; past the limit it is refused as a larger one is.
    file.content.reserve(qsizetype(st.st_size));
    char chunk[16384];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || file.content.size() + n > maxBytes) {
            ::close(fd);
            return other();
        }
        if (n == 0)
            break;
        file.content.append(chunk, n);
    }
    ::close(fd);
    return file;
}

bool writeSmallFile(const QString &path, const QByteArray &content)
{
    const std::optional<QByteArray> name = kernelPath(path);
    if (!name)
        return false;
    const qsizetype slash = name->lastIndexOf('/');
    QByteArray temporary = name->left(slash + 1) + '.' + name->mid(slash + 1) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    // A file written anew keeps the permissions the old one had.
    struct stat old {};
    bool ok = ::fchmod(fd, ::stat(name->constData(), &old) == 0 ? old.st_mode & 07777 : 0644) == 0;
    for (qsizetype done = 0; ok && done < content.size();) {
        const ssize_t n = ::write(fd, content.constData() + done, size_t(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += ok ? n : 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.constData(), name->constData()) == 0;
    if (!ok)
        ::unlink(temporary.constData());
    return ok;
}
