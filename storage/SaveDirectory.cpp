// SPDX-License-Identifier: MIT
#include "storage/SaveDirectory.h"

#include "platform/DataDirectory.h"
#include "storage/FileAccess.h"
#include "storage/RuntimeError.h"

#include <QDir>

namespace storage {

namespace {

QString WithSlash(const QString& dir)
{
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
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
        // A failure to create it surfaces when its lock is taken (see claim()).
        QDir().mkpath(data);
        dir.path_ = WithSlash(data);
    }
    return dir;
}

SaveDirectory::Claim SaveDirectory::claim()
{
    switch (lock_.take(lockPath())) {
    case DirectoryLock::Outcome::Held: return Claim::Owned;
    case DirectoryLock::Outcome::HeldElsewhere: return Claim::AlreadyRunning;
    case DirectoryLock::Outcome::Impossible: break;
    }
    return Claim::Unlockable;
}

SaveDirectory::Adoption SaveDirectory::adoptPairFromProgramDirectory()
{
    const QString from = WithSlash(programDir_);
    const QString oldSettings = from + QStringLiteral("Zelmor.ini");
    const QString oldData = from + QStringLiteral("Zelmor.bin");
    const Entry settings = EntryAt(oldSettings);
    if (from == path_ || settings == Entry::Nothing || EntryAt(settingsPath()) != Entry::Nothing)
        return Adoption::None;
    const Entry data = EntryAt(oldData);
    if (settings == Entry::Other || data == Entry::Other) {
        path_ = from;
        return Adoption::InPlace;
    }
    // The data file first: a settings file without its data file would fail
    // the check, while a lone data file is copied over again next time.
    try {
        if (data == Entry::File)
            CopyWithTimes(oldData, dataPath());
        CopyWithTimes(oldSettings, settingsPath());
    } catch (const RuntimeError&) {
        path_ = from;
        return Adoption::Failed;
    }
    return Adoption::Copied;
}

} // namespace storage
