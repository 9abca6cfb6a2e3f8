// SPDX-License-Identifier: MIT
#include "storage/SaveDirectory.h"

#include "platform/DataDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace storage {

namespace {

QString WithSlash(const QString& dir)
{
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

// Copies a file under a temporary name beside its destination with the
// source's modification time, then renames it into place.
bool CopyWithTime(const QString& from, const QString& to)
{
    const QString staged = to + QStringLiteral(".new");
    QFile::remove(staged);
    if (!QFile::copy(from, staged))
        return false;
    QFile file(staged);
    const bool timed = file.open(QIODevice::ReadWrite)
        && file.setFileTime(QFileInfo(from).lastModified(), QFileDevice::FileModificationTime);
    file.close();
    if (!timed || !QFile::rename(staged, to)) {
        QFile::remove(staged);
        return false;
    }
    return true;
}

} // namespace

SaveDirectory SaveDirectory::Choose(const QString& programDir)
{
    SaveDirectory dir;
    dir.programDir_ = programDir;
    if (platform::DirectoryWritable(programDir)) {
        dir.path_ = WithSlash(programDir);
    } else {
        const QString data = platform::PlayerDataDirectory();
        // A failure to create it surfaces as the save error when the files are written.
        QDir().mkpath(data);
        dir.path_ = WithSlash(data);
    }
    return dir;
}

SaveDirectory::Claim SaveDirectory::claim()
{
    lock_ = std::make_unique<QLockFile>(path_ + QStringLiteral("Zelmor.lock"));
    // Only a dead owner makes a lock stale, however long a game runs.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return Claim::Owned;
    const bool running = lock_->error() == QLockFile::LockFailedError;
    lock_.reset();
    return running ? Claim::AlreadyRunning : Claim::Unlockable;
}

SaveDirectory::Adoption SaveDirectory::adoptPairFromProgramDirectory()
{
    const QString from = WithSlash(programDir_);
    const QString oldSettings = from + QStringLiteral("Zelmor.ini");
    const QString oldData = from + QStringLiteral("Zelmor.bin");
    if (from == path_ || !QFileInfo::exists(oldSettings) || QFileInfo::exists(settingsPath())
        || QFileInfo(settingsPath()).isSymLink())
        return Adoption::None;
    // The data file first: a settings file without its data file would fail
    // the check, while a lone data file is copied over again next time.
    if ((!QFileInfo::exists(oldData) || CopyWithTime(oldData, dataPath())) && CopyWithTime(oldSettings, settingsPath()))
        return Adoption::Copied;
    path_ = from;
    return Adoption::Failed;
}

} // namespace storage
