// SPDX-License-Identifier: MIT
#include "storage/FileAccess.h"

#include "storage/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace storage {
namespace {

void Stage(const char* name)
{
    if (saveStageHook)
        saveStageHook(name);
}

int OpenErrorNumber(const QString& path, const QFile& file)
{
    const QFileInfo info(path);
    if (!info.exists())
        return ErrFileNotFound;
    if (info.isDir())
        return ErrPathFileAccess;
    if (file.error() == QFileDevice::PermissionsError)
        return ErrPermissionDenied;
    return ErrPathFileAccess;
}

// A missing file is not found; a symbolic link to nothing is a file that
// cannot be reached, never taken for a file that was never written.
void ThrowIfMissing(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return;
    throw RuntimeError(info.isSymLink() ? ErrPathFileAccess : ErrFileNotFound);
}

void OpenForReading(QFile& file)
{
    const QString path = file.fileName();
    ThrowIfMissing(path);
    if (QFileInfo(path).isDir())
        throw RuntimeError(ErrPathFileAccess);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(OpenErrorNumber(path, file));
}

void SyncDirectory(const QString& path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A target that exists must be a plain file we may write.
void CheckTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return;
    if (info.isDir())
        throw RuntimeError(ErrPathFileAccess);
    if (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner))
        throw RuntimeError(ErrPermissionDenied);
}

void WritePending(const QString& path, const QByteArray& bytes)
{
    QFile file(PendingPath(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw RuntimeError(file.error() == QFileDevice::PermissionsError ? ErrPermissionDenied : ErrPathFileAccess);
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw RuntimeError(ErrDiskFull);
    if (::fsync(file.handle()) != 0)
        throw RuntimeError(ErrDeviceIO);
    file.close();
}

void MoveIntoPlace(const QString& from, const QString& to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw RuntimeError(errno == EACCES || errno == EPERM ? ErrPermissionDenied : ErrPathFileAccess);
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
        throw RuntimeError(ErrPathFileAccess);
    return target;
}

QString PendingPath(const QString& path)
{
    return path + QStringLiteral(".new");
}

void ProbeFile(const QString& path)
{
    QFile file(path);
    OpenForReading(file);
}

QByteArray ReadHead(const QString& path, qint64 limit)
{
    QFile file(path);
    OpenForReading(file);
    if (!file.isSequential())
        limit = qMin(limit, file.size());
    const QByteArray bytes = file.read(limit);
    if (file.error() != QFileDevice::NoError)
        throw RuntimeError(ErrDeviceIO);
    return bytes;
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
    Stage("settings renamed");
    MoveIntoPlace(PendingPath(dataPath), dataPath);
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
