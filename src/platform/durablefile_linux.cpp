#include "platform/durablefile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/filenames.h"

namespace {

void syncFolderAt(const QByteArray &folder)
{
    const int fd = ::open(folder.isEmpty() ? "/" : folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// mkdir -p, the folders it makes private: what the program remembers of the user's files is
// nobody else's business. A folder made is synced into its parent, or a power loss could take
// it, and the journals in it, away.
int makeFolders(const QByteArray &path)
{
    struct stat st;
    if (::stat(path.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    const qsizetype slash = path.lastIndexOf('/');
    if (slash > 0) {
        if (const int err = makeFolders(path.left(slash)))
            return err;
    }
    if (::mkdir(path.constData(), 0700) != 0)
        return errno == EEXIST ? 0 : errno;
    syncFolderAt(path.left(qMax<qsizetype>(slash, 0)));
    return 0;
}

int syncFd(int fd)
{
    while (::fdatasync(fd) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

} // namespace

DurableFile::DurableFile(DurableFile &&other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)), file_(std::move(other.file_)),
      folder_(std::move(other.folder_))
{
    other.fd_ = -1;
}

DurableFile &DurableFile::operator=(DurableFile &&other) noexcept
{
    if (this != &other) {
        close();
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        file_ = std::move(other.file_);
        folder_ = std::move(other.folder_);
        other.fd_ = -1;
    }
    return *this;
}

FsResult DurableFile::create(const QString &folder, const QString &name)
{
    close();
    QByteArray dir = encodeFileName(folder);
    while (dir.size() > 1 && dir.endsWith('/'))
        dir.chop(1);
    if (dir.isEmpty())
        return FsResult::fromErrno(ENOENT);
    if (const int err = makeFolders(dir))
        return FsResult::fromErrno(err);
    const QByteArray file = dir + '/' + encodeFileName(name);
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return FsResult::fromErrno(errno);
    fd_ = fd;
    folder_ = dir;
    file_ = file;
    path_ = decodeFileName(file);
    return FsResult::success();
}

FsResult DurableFile::openToAppend(const QString &path)
{
    close();
    const QByteArray file = encodeFileName(path);
    const int fd = ::open(file.constData(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return FsResult::fromErrno(errno);
    fd_ = fd;
    path_ = path;
    file_ = file;
    const qsizetype slash = file.lastIndexOf('/');
    folder_ = slash > 0 ? file.left(slash) : QByteArrayLiteral(".");
    return FsResult::success();
}

FsResult DurableFile::append(QByteArrayView bytes)
{
    if (fd_ < 0)
        return FsResult::fromErrno(EBADF);
    const char *p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t put = ::write(fd_, p, size_t(left));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return FsResult::fromErrno(errno);
        }
        p += put;
        left -= put;
    }
    return FsResult::success();
}

FsResult DurableFile::sync()
{
    if (fd_ < 0)
        return FsResult::fromErrno(EBADF);
    const int err = syncFd(fd_);
    return err ? FsResult::fromErrno(err) : FsResult::success();
}

FsResult DurableFile::syncFolder()
{
    const int fd = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return FsResult::fromErrno(errno);
    // Some file systems cannot sync a folder (EINVAL); there the name is as safe as it gets.
    int err = 0;
    while (::fsync(fd) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EINVAL)
            err = errno;
        break;
    }
    ::close(fd);
    return err ? FsResult::fromErrno(err) : FsResult::success();
}

void DurableFile::discard()
{
    if (fd_ < 0)
        return;
    ::unlink(file_.constData());
    close();
}

void DurableFile::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}
