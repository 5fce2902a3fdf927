#include "platform/processstart.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/filenames.h"

namespace {

// Between fork and exec, a child of a program with threads may only make async-signal-safe
// calls: no allocation, no locks, nothing of Qt.
[[noreturn]] void reportAndExit(int report, int err)
{
    [[maybe_unused]] const ssize_t written = ::write(report, &err, sizeof err);
    ::_exit(127);
}

// The started program begins as if started afresh: what this one blocks or ignores (a
// signal handled through a descriptor, say) is not passed on.
void defaultSignals()
{
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    for (int s = 1; s < NSIG; ++s)
        ::sigaction(s, &dfl, nullptr);  // fails harmlessly for SIGKILL, SIGSTOP and glibc's own
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

} // namespace

FsResult startDetached(const QString &program)
{
    const std::optional<QByteArray> path = kernelPath(program);
    if (!path)
        return FsResult::fromErrno(EINVAL);
    // QProcess would pass the path through QFile::encodeName, which cannot give back a byte
    // that is not UTF-8; the path is executed here as its exact bytes instead. The child
    // starts the program as a grandchild and ends at once, so nothing is left to reap, and a
    // pipe closed by the exec tells whether it got that far.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return FsResult::fromErrno(errno);
    char *const argv[] = {const_cast<char *>(path->constData()), nullptr};
    sigset_t all, old;
    ::sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &old);  // no handler of ours runs in the children
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            defaultSignals();
            ::execve(path->constData(), argv, environ);
            reportAndExit(report[1], errno);
        }
        if (grandchild < 0)
            reportAndExit(report[1], errno);
        ::_exit(0);
    }
    const int forkErr = child < 0 ? errno : 0;
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    ::close(report[1]);
    if (forkErr != 0) {
        ::close(report[0]);
        return FsResult::fromErrno(forkErr);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    ssize_t got;
    while ((got = ::read(report[0], &err, sizeof err)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    return got == ssize_t(sizeof err) ? FsResult::fromErrno(err) : FsResult::success();
}
