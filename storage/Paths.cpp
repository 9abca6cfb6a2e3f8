#include "storage/Paths.h"

#include "platform/Seams.h"

#include <QDir>

namespace storage {

QString FileDirectory()
{
    return ProgramDir();
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
