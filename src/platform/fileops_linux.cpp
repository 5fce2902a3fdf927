#include "platform/fileops.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/filenames.h"
#include "platform/renamefile.h"

namespace {

FileStepHook &stepHook()
{
    static FileStepHook hook;
    return hook;
}

int injected(FileStep step, const QString &path)
{
    const FileStepHook &hook = stepHook();
    return hook ? hook(step, path) : 0;
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }

private:
    int fd_;
};

// Paths here are absolute (kernelPath saw to that), so there is always a slash.
QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

bool sameInode(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The same directory entry reached by two spellings (a doubled separator, a linked folder):
// the same name in the same folder. Two hard links are two entries and do not count.
bool sameEntry(const QByteArray &a, const QByteArray &b)
{
    if (nameOf(a) != nameOf(b))
        return false;
    struct stat fa {}, fb {};
    return ::stat(folderOf(a).constData(), &fa) == 0 && ::stat(folderOf(b).constData(), &fb) == 0
           && sameInode(fa, fb);
}

int copyContents(int in, int out)
{
    // The kernel copies (or the file system shares the blocks) without a trip through this
    // process; between some pairs of file systems it declines and plain reads and writes go on
    // from where it stopped.
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size_t(1) << 30, 0);
        if (n > 0)
            continue;
        if (n == 0)
            return 0;
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP
            && errno != EBADF)
            return errno;
        break;
    }
    static constexpr size_t kChunk = 256 * 1024;
    std::unique_ptr<char[]> buffer(new char[kChunk]);
    for (;;) {
        const ssize_t got = ::read(in, buffer.get(), kChunk);
        if (got == 0)
            return 0;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer.get() + done, size_t(got - done));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            done += put;
        }
    }
}

bool unsupported(int err)
{
    return err == ENOTSUP || err == EOPNOTSUPP;
}

// The extended attributes that travel with a file: the user's own and its POSIX ACLs (which
// the kernel keeps as these two attributes). security.* stays behind: labels are the target
// system's policy to give, and capabilities grant privileges that a rename tool should not
// plant anywhere. trusted.* is administrators' private data about one file system (an
// overlay's, for one) and means nothing on another.
bool travels(const char *name)
{
    return std::strncmp(name, "user.", 5) == 0 || std::strcmp(name, "system.posix_acl_access") == 0
           || std::strcmp(name, "system.posix_acl_default") == 0;
}

// Reads a list or a value of unknown size; fills `into` and returns 0, or an errno.
template <typename Read>
int readSized(QByteArray &into, Read read)
{
    for (;;) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return errno;
        into.resize(size);
        const ssize_t got = read(into.data(), size_t(into.size()));
        if (got >= 0) {
            into.truncate(got);
            return 0;
        }
        if (errno != ERANGE)  // ERANGE: it grew in between
            return errno;
    }
}

// A target that does not take an attribute (ENOTSUP) is no failure: the file is kept as
// whole as the target file system allows, as mv keeps it.
int copyAttributes(int in, int out)
{
    QByteArray names;
    if (const int err = readSized(names, [in](char *b, size_t n) { return ::flistxattr(in, b, n); }))
        return unsupported(err) ? 0 : err;
    for (const char *name = names.constData(); name < names.constData() + names.size();
         name += std::strlen(name) + 1) {
        if (!travels(name))
            continue;
        QByteArray value;
        if (const int err = readSized(value, [&](char *b, size_t n) { return ::fgetxattr(in, name, b, n); })) {
            if (err == ENODATA)  // removed meanwhile
                continue;
            return err;
        }
        if (::fsetxattr(out, name, value.constData(), size_t(value.size()), 0) != 0 && !unsupported(errno))
            return errno;
    }
    return 0;
}

// Writes a complete copy of the open source, with its permissions, owner (where allowed),
// extended attributes and times, to a new hidden file in the folder (so the file pane never
// lists it); on success its path is in tmpPath.
int writeTemporaryCopy(int in, const struct stat &st, const QByteArray &folder, QByteArray &tmpPath)
{
    QByteArray name = folder;
    if (!name.endsWith('/'))
        name += '/';
    name += ".quillmere-XXXXXX";
    const int out = ::mkostemp(name.data(), O_CLOEXEC);
    if (out < 0)
        return errno;
    int err = copyContents(in, out);
    if (err == 0) {
        // Only root may give a file away; anyone else keeps ownership of the copy.
        [[maybe_unused]] const int owned = ::fchown(out, st.st_uid, st.st_gid);
        if (::fchmod(out, st.st_mode & 07777) != 0)
            err = errno;
    }
    // After the mode: an access ACL sets the group bits itself, and a later chmod would
    // change its mask.
    if (err == 0)
        err = copyAttributes(in, out);
    if (err == 0) {
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        if (::futimens(out, times) != 0)
            err = errno;
    }
    // The copy must be on the disk before it replaces a target or its source goes.
    if (err == 0 && ::fsync(out) != 0)
        err = errno;
    if (::close(out) != 0 && err == 0)
        err = errno;
    if (err != 0) {
        ::unlink(name.constData());
        return err;
    }
    tmpPath = name;
    return 0;
}

// Opens a regular file for copying. A FIFO must not block the program, and folders and
// devices are not files that can be copied.
int openRegular(const QByteArray &path, int extraFlags, struct stat &st, int &fd)
{
    fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | extraFlags);
    if (fd < 0)
        return errno;
    if (::fstat(fd, &st) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (!S_ISREG(st.st_mode))
        return EINVAL;
    return 0;
}

// The last step of a move across file systems: the source goes, or, when it cannot, the
// copy is taken back so the file is not in two places.
FsResult removeMovedSource(const QByteArray &src, const QByteArray &dst, const QString &from)
{
    int err = injected(FileStep::RemoveMovedSource, from);
    if (err == 0 && ::unlink(src.constData()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(dst.constData());
        return FsResult::fromErrno(err);
    }
    return FsResult::success();
}

FsResult moveLinkAcross(const QByteArray &src, const QByteArray &dst, const QString &from)
{
    QByteArray target(PATH_MAX, '\0');
    const ssize_t len = ::readlink(src.constData(), target.data(), size_t(target.size()));
    if (len < 0)
        return FsResult::fromErrno(errno);
    target.truncate(len);
    if (::symlink(target.constData(), dst.constData()) != 0)
        return FsResult::fromErrno(errno);
    return removeMovedSource(src, dst, from);
}

FsResult moveAcross(const QByteArray &src, const QByteArray &dst, const QString &from)
{
    struct stat lst {};
    if (::lstat(src.constData(), &lst) != 0)
        return FsResult::fromErrno(errno);
    // Not relied on (the final rename refuses an existing target by itself), but spares
    // copying a whole file only to find the place taken.
    struct stat existing {};
    if (::lstat(dst.constData(), &existing) == 0)
        return FsResult::fromErrno(EEXIST);
    if (S_ISLNK(lst.st_mode))
        return moveLinkAcross(src, dst, from);
    if (S_ISDIR(lst.st_mode))
        return FsResult::fromErrno(EXDEV);  // folders are not carried across file systems

    struct stat st {};
    int fd = -1;
    const int openErr = openRegular(src, O_NOFOLLOW, st, fd);
    const Fd in(fd);
    if (openErr != 0)
        return FsResult::fromErrno(openErr);
    QByteArray tmp;
    if (const int err = writeTemporaryCopy(in.get(), st, folderOf(dst), tmp))
        return FsResult::fromErrno(err);
    const FsResult placed = renameBytesNoReplace(tmp, dst);
    if (!placed.ok()) {
        ::unlink(tmp.constData());
        return placed;
    }
    return removeMovedSource(src, dst, from);
}

// Whether the entry's own name is missing from a folder that is there: only then is a file
// known to be gone. A missing or unreadable folder, a name too long, a path through a file or
// one ending in "/" (no name of its own) say nothing about the file.
bool absentFromExistingFolder(const QByteArray &path)
{
    if (path.endsWith('/'))
        return false;
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0 || errno != ENOENT)
        return false;
    return ::stat(folderOf(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

FsResult invalidPath()
{
    return FsResult::fromErrno(EINVAL);
}

} // namespace

FsResult deletePath(const QString &path)
{
    const std::optional<QByteArray> bytes = kernelPath(path);
    if (!bytes)
        return invalidPath();
    if (const int err = injected(FileStep::Delete, path))
        return FsResult::fromErrno(err);
    // unlink takes the text as one name, follows no final link and refuses folders.
    if (::unlink(bytes->constData()) == 0)
        return FsResult::success();
    const int err = errno;
    if (err == ENOENT && absentFromExistingFolder(*bytes))
        return FsResult::success();  // already gone, which is what was asked
    return FsResult::fromErrno(err);
}

FsResult moveFile(const QString &from, const QString &to)
{
    const std::optional<QByteArray> src = kernelPath(from), dst = kernelPath(to);
    if (!src || !dst)
        return invalidPath();
    if (const int err = injected(FileStep::Move, from))
        return FsResult::fromErrno(err);
    const FsResult renamed = renameNoReplace(from, to);
    if (renamed.ok())
        return renamed;
    if (renamed.number == EEXIST && sameEntry(*src, *dst))
        return FsResult::success();
    if (renamed.number != EXDEV)
        return renamed;
    return moveAcross(*src, *dst, from);
}

FsResult copyFileReplacing(const QString &from, const QString &to)
{
    const std::optional<QByteArray> src = kernelPath(from), dst = kernelPath(to);
    if (!src || !dst)
        return invalidPath();
    if (const int err = injected(FileStep::Copy, from))
        return FsResult::fromErrno(err);
    struct stat st {};
    int fd = -1;
    const int openErr = openRegular(*src, 0, st, fd);
    const Fd in(fd);
    if (openErr != 0)
        return FsResult::fromErrno(openErr);
    struct stat target {};
    if (::stat(dst->constData(), &target) == 0 && sameInode(st, target))
        return FsResult{EINVAL, sameFileDescription()};
    QByteArray tmp;
    if (const int err = writeTemporaryCopy(in.get(), st, folderOf(*dst), tmp))
        return FsResult::fromErrno(err);
    if (::rename(tmp.constData(), dst->constData()) != 0) {
        const int err = errno;
        ::unlink(tmp.constData());
        return FsResult::fromErrno(err);
    }
    return FsResult::success();
}

QString sameFileDescription()
{
    return QStringLiteral("源文件和目标是同一个文件，不能复制到它自己上面。");
}

void setFileStepHook(FileStepHook hook)
{
    stepHook() = std::move(hook);
}
