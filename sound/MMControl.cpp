// SPDX-License-Identifier: MIT
#include "sound/MMControl.h"

MMControl::MMControl(QObject* parent)
    : QObject(parent)
{
}

MMControl::~MMControl()
{
    close();
}

bool MMControl::setCommand(const QString& command)
{
    if (commandHook)
        return commandHook(*this, command);
    error_.clear();
    const QString verb = command.trimmed();
    if (verb.compare(QLatin1String("Open"), Qt::CaseInsensitive) == 0)
        return open();
    if (verb.compare(QLatin1String("Play"), Qt::CaseInsensitive) == 0)
        return play();
    if (verb.compare(QLatin1String("Close"), Qt::CaseInsensitive) == 0) {
        close();
        return true;
    }
    return fail(QStringLiteral("unknown command \"%1\"").arg(command));
}

bool MMControl::open()
{
    close();
    sound::Device device;
    if (deviceType_.compare(QLatin1String("Sequencer"), Qt::CaseInsensitive) == 0)
        device = sound::Device::Sequencer;
    else if (deviceType_.compare(QLatin1String("WaveAudio"), Qt::CaseInsensitive) == 0)
        device = sound::Device::WaveAudio;
    else
        return fail(QStringLiteral("unknown device type \"%1\"").arg(deviceType_));
    if (fileName_.isEmpty())
        return fail(QStringLiteral("no file name to open"));
    QString why;
    sound::AudioBackend& backend = sound::backend();
    const int handle = backend.open(device, fileName_, why);
    if (handle == 0)
        return fail(why);
    backend_ = &backend;
    handle_ = handle;
    return true;
}

bool MMControl::play()
{
    if (!handle_)
        return fail(QStringLiteral("%1 is not open").arg(fileName_));
    const unsigned count = ++playCount_;
    QString why;
    if (!backend_->play(handle_, [this, count] { ended(count); }, why))
        return fail(why);
    return true;
}

void MMControl::close()
{
    if (!handle_)
        return;
    backend_->close(handle_);
    handle_ = 0;
    backend_ = nullptr;
    ++playCount_;
}

bool MMControl::fail(const QString& why)
{
    error_ = why;
    return false;
}

void MMControl::ended(unsigned playCount)
{
    if (playCount != playCount_ || !handle_ || !notify_ || !onDone)
        return;
    onDone(mciSuccessful);
}
