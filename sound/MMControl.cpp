#include "sound/MMControl.h"

MMControl::MMControl(QObject* parent)
    : QObject(parent)
{
}

bool MMControl::setCommand(const QString& command)
{
    if (commandHook)
        return commandHook(*this, command);
    error_.clear();
    return true;
}
