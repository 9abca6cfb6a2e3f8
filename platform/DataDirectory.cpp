#include "platform/DataDirectory.h"

#include "platform/Seams.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {
namespace {

bool directoryIsWritable(const QString& dir)
{
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}

WritableProbe currentProbe = &directoryIsWritable;

QString withSeparator(const QString& dir)
{
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

} // namespace

void installWritableProbe(WritableProbe probe)
{
    currentProbe = probe ? probe : &directoryIsWritable;
}

QString PlayerDataDirectory()
{
    // GenericDataLocation's first entry is $XDG_DATA_HOME when that is an
    // absolute path, and ~/.local/share otherwise.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/zelmor");
}

QString DataDirectoryFor(const QString& programDir)
{
    if (currentProbe(programDir))
        return withSeparator(programDir);
    const QString dir = PlayerDataDirectory();
    // A failure to create it surfaces as the save error when the files are written.
    QDir().mkpath(dir);
    return withSeparator(dir);
}

QString DataDirectory()
{
    return DataDirectoryFor(ProgramDir());
}

} // namespace platform
