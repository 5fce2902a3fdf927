#include "platform/smallfile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    const QByteArray name = QFile::encodeName(path);
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
