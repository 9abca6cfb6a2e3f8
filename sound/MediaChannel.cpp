// SPDX-License-Identifier: MIT
#include "sound/MediaChannel.h"

#include <QFileInfo>

namespace sound {

MediaChannel::MediaChannel(Device device, QObject* parent)
    : QObject(parent)
    , device_(device)
{
}

MediaChannel::~MediaChannel()
{
    stop();
}

namespace {

bool Readable(const QString& path)
{
    const QFileInfo file(path);
    return file.isFile() && file.isReadable();
}

} // namespace

// The device is asked to close, open and play, in that order. A file that
// opened but would not play stays open until the next play() or stop(). When
// the device cannot open a file, a file that is not there is the reason,
// whatever else the device says: its absence is no failure of the device.
bool MediaChannel::play(const QString& path)
{
    stop();
    failure_ = Failure::None;
    error_.clear();
    if (path.isEmpty())
        return fail(Failure::FileMissing, QStringLiteral("no file name to open"));
    QString why;
    AudioBackend& device = backend();
    const int handle = device.open(device_, path, why);
    if (handle == 0 && !Readable(path))
        return fail(Failure::FileMissing, QStringLiteral("cannot open %1: no such file, or not readable").arg(path));
    if (handle == 0)
        return fail(Failure::Device, why);
    backend_ = &device;
    handle_ = handle;
    const unsigned play = ++plays_;
    if (!device.play(handle_, [this, play] { ended(play); }, why))
        return fail(Failure::Device, why);
    playing_ = true;
    return true;
}

void MediaChannel::stop()
{
    ++plays_;
    playing_ = false;
    if (!handle_)
        return;
    backend_->close(handle_);
    handle_ = 0;
    backend_ = nullptr;
}

bool MediaChannel::fail(Failure failure, const QString& why)
{
    failure_ = failure;
    error_ = why;
    return false;
}

// The device reports the end of play number `play`: only the current one
// counts. The finished file stays open until the next play() or stop().
void MediaChannel::ended(unsigned play)
{
    if (play != plays_ || !playing_)
        return;
    playing_ = false;
    emit finished();
}

} // namespace sound
