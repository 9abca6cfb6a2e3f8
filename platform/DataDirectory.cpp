// SPDX-License-Identifier: MIT
#include "platform/DataDirectory.h"

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

} // namespace

void installWritableProbe(WritableProbe probe)
{
    currentProbe = probe ? probe : &directoryIsWritable;
}

bool DirectoryWritable(const QString& dir)
{
    return currentProbe(dir);
}

QString PlayerDataDirectory()
{
    // GenericDataLocation's first entry is $XDG_DATA_HOME when that is an
    // absolute path, and ~/.local/share otherwise.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/zelmor");
}

} // namespace platform
