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

void OpenForReading(QFile& file)
{
    const QString path = file.fileName();
    if (!QFileInfo::exists(path))
        throw RuntimeError(ErrFileNotFound);
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

} // namespace

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
    const QFileInfo info(path);
    if (!info.exists())
        throw RuntimeError(ErrFileNotFound);
    return info.lastModified();
}

void WriteFilePair(const QString& settingsPath, const QByteArray& settings, const QString& dataPath,
                   const QByteArray& data)
{
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
        QFile::remove(PendingPath(settingsPath));
        QFile::remove(PendingPath(dataPath));
        throw;
    }
    // From here on the new pair is committed: a data file left pending is
    // moved into place by the next load.
    Stage("settings renamed");
    try {
        MoveIntoPlace(PendingPath(dataPath), dataPath);
    } catch (const RuntimeError&) {
        return; // stays pending; RecoverInterruptedSave finishes it
    }
    Stage("data renamed");
}

void RecoverInterruptedSave(const QString& settingsPath, const QString& dataPath)
{
    const QString pendingSettings = PendingPath(settingsPath);
    const QString pendingData = PendingPath(dataPath);
    const bool settingsPending = QFileInfo(pendingSettings).isFile();
    const bool dataPending = QFileInfo(pendingData).isFile();
    if (dataPending && !settingsPending) {
        std::rename(QFile::encodeName(pendingData).constData(), QFile::encodeName(dataPath).constData());
        SyncDirectory(dataPath);
        return;
    }
    if (settingsPending)
        QFile::remove(pendingSettings);
    if (dataPending)
        QFile::remove(pendingData);
}

} // namespace storage
