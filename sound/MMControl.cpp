#include "sound/MMControl.h"

MMControl::MMControl(QObject* parent)
    : QObject(parent)
{
}

bool MMControl::setCommand(const QString& command)
{
    Q_UNUSED(command);
    error_.clear();
    return true;
}
