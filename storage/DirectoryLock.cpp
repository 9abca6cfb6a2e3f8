// SPDX-License-Identifier: MIT
#include "storage/DirectoryLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace storage {

namespace {

// A lost race with an owner that was letting go is tried again this often.
constexpr int Attempts = 10;

int LockWithoutWaiting(int fd)
{
    int result;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    return result;
}

// Whether the name still leads to the file that is open: an owner letting go
// removes the file before it closes it, so a lock taken on the removed file
// in between holds nothing.
bool StillNamed(int fd, const QByteArray& path)
{
    struct stat opened {}, named {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino;
}

// The process's id, for a human who looks. A full disk leaves the file empty,
// which changes nothing.
void WriteProcessId(int fd)
{
    const QByteArray text = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(fd, 0) == 0)
        (void)!::pwrite(fd, text.constData(), size_t(text.size()), 0);
}

} // namespace

DirectoryLock::DirectoryLock(DirectoryLock&& other) noexcept
    : path_(std::move(other.path_))
    , fd_(std::exchange(other.fd_, -1))
{
}

DirectoryLock& DirectoryLock::operator=(DirectoryLock&& other) noexcept
{
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

DirectoryLock::~DirectoryLock()
{
    release();
}

DirectoryLock::Outcome DirectoryLock::take(const QString& path)
{
    release();
    const QByteArray name = QFile::encodeName(path);
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        // Non-blocking, so that a FIFO in its place cannot hold the start.
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
        if (fd < 0)
            return Outcome::Impossible;
        struct stat status {};
        if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
            ::close(fd);
            return Outcome::Impossible;
        }
        if (LockWithoutWaiting(fd) != 0) {
            const bool busy = errno == EWOULDBLOCK;
            ::close(fd);
            return busy ? Outcome::HeldElsewhere : Outcome::Impossible;
        }
        if (StillNamed(fd, name)) {
            path_ = name;
            fd_ = fd;
            WriteProcessId(fd);
            return Outcome::Held;
        }
        ::close(fd);
    }
    return Outcome::Impossible;
}

// The file goes while it is still held, so the next copy never takes a lock
// on a file about to vanish (see StillNamed).
void DirectoryLock::release()
{
    if (fd_ < 0)
        return;
    ::unlink(path_.constData());
    ::close(fd_);
    fd_ = -1;
}

} // namespace storage
