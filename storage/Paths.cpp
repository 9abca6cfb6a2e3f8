#include "storage/Paths.h"

#include "platform/DataDirectory.h"

#include <QDir>

namespace storage {

QString FileDirectory()
{
    return platform::DataDirectory();
}

QString SettingsPath()
{
    return QDir(FileDirectory()).filePath(QStringLiteral("Zelmor.ini"));
}

QString DataPath()
{
    return QDir(FileDirectory()).filePath(QStringLiteral("Zelmor.bin"));
}

} // namespace storage
