// SPDX-License-Identifier: MIT
#include "storage/FileAccess.h"

#include "storage/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storage {
namespace {

void Stage(const char* name)
{
    if (saveStageHook)
        saveStageHook(name);
}

// A file that is missing, or a symbolic link to nothing, as ProbeFile
// reports it: a link to nothing is never taken for a file never written.
void ThrowIfMissing(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return;
    throw RuntimeError(info.isSymLink() ? ErrPathFileAccess : ErrFileNotFound);
}

using game::SaveProblem;

QString DirectoryOf(const QString& file)
{
    return QFileInfo(file).absolutePath();
}

// The errno of a failed system call on `file`, as a runtime error number and
// what the player is told. It names the file when the file itself is the
// trouble (something in its way, or another program holding it), otherwise
// its directory: a full disk or a directory that may not be written is no
// fault of one file.
FileError SystemError(int error, const QString& file)
{
    switch (error) {
    case ENOENT: return FileError(ErrFileNotFound, SaveProblem::Other, DirectoryOf(file));
    case EACCES:
    case EPERM:
    case EROFS: return FileError(ErrPermissionDenied, SaveProblem::NotWritable, DirectoryOf(file));
    case ENOSPC:
    case EDQUOT: return FileError(ErrDiskFull, SaveProblem::DiskFull, DirectoryOf(file));
    case EISDIR:
    case ENOTDIR:
    case ELOOP:
    case ENXIO: return FileError(ErrPathFileAccess, SaveProblem::InTheWay, file);
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK: return FileError(ErrPermissionDenied, SaveProblem::HeldByAnotherProgram, file);
    case EIO: return FileError(ErrDeviceIO, SaveProblem::Other, DirectoryOf(file));
    default: return FileError(ErrPathFileAccess, SaveProblem::Other, DirectoryOf(file));
    }
}

// Something that is no regular file stands under the name.
FileError InTheWay(const QString& file)
{
    return FileError(ErrPathFileAccess, SaveProblem::InTheWay, file);
}

// A regular file (or a link to one) open for reading, closed when it goes.
// What stands under the name is looked at before the open, so that a FIFO or
// a device is never opened at all, and again once it is open, in case it was
// swapped in between; the open itself never waits (O_NONBLOCK).
class ReadableFile {
public:
    explicit ReadableFile(const QString& path)
    {
        switch (EntryAt(path)) {
        case Entry::Nothing: throw RuntimeError(ErrFileNotFound);
        case Entry::Other: throw RuntimeError(ErrPathFileAccess);
        case Entry::File: break;
        }
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0)
            throw SystemError(errno, path);
        if (::fstat(fd_, &status_) != 0 || !S_ISREG(status_.st_mode)) {
            ::close(fd_);
            throw RuntimeError(ErrPathFileAccess);
        }
    }
    ~ReadableFile() { ::close(fd_); }
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;

    const struct stat& status() const { return status_; }

    // The next bytes, at most `limit` of them; fewer only at the end of the file.
    QByteArray read(qint64 limit)
    {
        QByteArray bytes;
        char buffer[64 * 1024];
        while (bytes.size() < limit) {
            const ssize_t got = ::read(fd_, buffer, size_t(qMin<qint64>(limit - bytes.size(), sizeof buffer)));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                throw RuntimeError(ErrDeviceIO);
            if (got == 0)
                break;
            bytes.append(buffer, got);
        }
        return bytes;
    }

private:
    int fd_ = -1;
    struct stat status_ {};
};

// Writes all the bytes to `fd`, the file `path`; a full disk is error 61.
void WriteAll(int fd, const QByteArray& bytes, const QString& path)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            throw SystemError(errno, path);
        done += put;
    }
}

void SyncDirectory(const QString& path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Whether another program holds a write lock on the file: an exclusive
// flock(), or a write lock on any part of it (a record lock of either kind).
// It is writing the file then, and replacing the file would throw its work
// or ours away. A read lock is no obstacle: a reader keeps the file it opened.
bool WriteLockedElsewhere(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (!held) {
        struct flock probe {};
        probe.l_type = F_RDLCK; // conflicts with write locks only
        probe.l_whence = SEEK_SET;
        held = ::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    }
    ::close(fd); // lets go of the shared flock, if taken
    return held;
}

// A target that exists must be a regular file we may write, and that no
// other program is writing: a directory, a FIFO or a device in its place is
// never replaced.
void CheckTarget(const QString& path)
{
    switch (EntryAt(path)) {
    case Entry::Nothing: return;
    case Entry::Other: throw InTheWay(path);
    case Entry::File: break;
    }
    // A file that may not be written names its directory when that may not
    // be written either (a read-only file system): the file is not the cause.
    const QFileInfo info(path);
    if (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner)) {
        const QString directory = DirectoryOf(path);
        throw FileError(ErrPermissionDenied, SaveProblem::NotWritable,
                        QFileInfo(directory).isWritable() ? path : directory);
    }
    if (WriteLockedElsewhere(path))
        throw FileError(ErrPermissionDenied, SaveProblem::HeldByAnotherProgram, path);
}

// Writes the file's temporary, made afresh (0666 less the umask, as any new
// file of the player's), and flushes it to disk.
void WritePending(const QString& path, const QByteArray& bytes)
{
    const QString pending = PendingPath(path);
    const int fd = ::open(QFile::encodeName(pending).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC,
                          0666);
    if (fd < 0)
        throw SystemError(errno, pending);
    try {
        WriteAll(fd, bytes, pending);
        if (::fsync(fd) != 0)
            throw SystemError(errno, pending);
    } catch (const FileError&) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0)
        throw SystemError(errno, pending);
}

// Copies the rest of `source` into `fd`, the file `path`, and gives it the
// times of `source`, flushed to disk. The error number, or 0.
int CopyContents(ReadableFile& source, int fd, const QString& path)
{
    try {
        for (QByteArray chunk; !(chunk = source.read(64 * 1024)).isEmpty();)
            WriteAll(fd, chunk, path);
    } catch (const RuntimeError& error) {
        return error.number();
    }
    const struct timespec times[2] = {source.status().st_atim, source.status().st_mtim};
    if (::futimens(fd, times) != 0 || ::fsync(fd) != 0)
        return ErrDeviceIO;
    return 0;
}

void MoveIntoPlace(const QString& from, const QString& to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw SystemError(errno, to);
    SyncDirectory(to);
}

// Removes the temporaries of a save that never reached its renames: the data
// file's first, so that an interruption between the two never leaves a lone
// data temporary, which the next load would take for a committed save.
void DiscardPending(const QString& settingsPath, const QString& dataPath)
{
    QFile::remove(PendingPath(dataPath));
    QFile::remove(PendingPath(settingsPath));
}

} // namespace

QString SaveTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString target = info.canonicalFilePath(); // empty for a link to nothing
    if (target.isEmpty())
        throw InTheWay(path);
    return target;
}

QString PendingPath(const QString& path)
{
    return path + QStringLiteral(".new");
}

Entry EntryAt(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::stat(name.constData(), &status) == 0)
        return S_ISREG(status.st_mode) ? Entry::File : Entry::Other;
    return ::lstat(name.constData(), &status) == 0 ? Entry::Other : Entry::Nothing;
}

void ProbeFile(const QString& path)
{
    ReadableFile file(path);
}

QByteArray ReadHead(const QString& path, qint64 limit)
{
    ReadableFile file(path);
    return file.read(limit);
}

void CopyWithTimes(const QString& from, const QString& to)
{
    ReadableFile source(from);
    const QString staged = PendingPath(to);
    const QByteArray stagedName = QFile::encodeName(staged);
    ::unlink(stagedName.constData());
    // Made afresh, so the kernel gives it 0644 less the umask, not the mode of `from`.
    const int fd = ::open(stagedName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        throw SystemError(errno, staged);
    int error = CopyContents(source, fd, staged);
    if (::close(fd) != 0 && error == 0)
        error = ErrDeviceIO;
    try {
        if (error != 0)
            throw RuntimeError(error);
        MoveIntoPlace(staged, to);
    } catch (const RuntimeError&) {
        ::unlink(stagedName.constData());
        throw;
    }
}

QDateTime ModifiedTime(const QString& path)
{
    ThrowIfMissing(path);
    return QFileInfo(path).lastModified();
}

void WriteFilePair(const QString& settingsLink, const QByteArray& settings, const QString& dataLink,
                   const QByteArray& data)
{
    const QString settingsPath = SaveTarget(settingsLink);
    const QString dataPath = SaveTarget(dataLink);
    RecoverInterruptedSave(settingsPath, dataPath);
    try {
        CheckTarget(settingsPath);
        CheckTarget(dataPath);
        WritePending(settingsPath, settings);
        Stage("settings written");
        WritePending(dataPath, data);
        Stage("data written");
        MoveIntoPlace(PendingPath(settingsPath), settingsPath);
    } catch (const RuntimeError&) {
        DiscardPending(settingsPath, dataPath);
        throw;
    }
    // From here on the new pair is committed: a data file left pending by a
    // failed rename is moved into place by the next load. The player is told
    // all the same, since this save has not reached the disk in full.
    try {
        Stage("settings renamed");
        MoveIntoPlace(PendingPath(dataPath), dataPath);
    } catch (const RuntimeError& error) {
        throw FileError(error.number(), SaveProblem::Unfinished, dataPath);
    }
    Stage("data renamed");
}

void RecoverInterruptedSave(const QString& settingsLink, const QString& dataLink)
{
    const QString settingsPath = SaveTarget(settingsLink);
    const QString dataPath = SaveTarget(dataLink);
    const bool settingsPending = QFileInfo(PendingPath(settingsPath)).isFile();
    const bool dataPending = QFileInfo(PendingPath(dataPath)).isFile();
    if (dataPending && !settingsPending)
        MoveIntoPlace(PendingPath(dataPath), dataPath);
    else if (settingsPending || dataPending)
        DiscardPending(settingsPath, dataPath);
}

} // namespace storage
