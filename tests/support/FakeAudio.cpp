// SPDX-License-Identifier: MIT
#include "tests/support/FakeAudio.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace testing {

namespace {

QString Name(const QString& path) { return QFileInfo(path).fileName(); }

} // namespace

int FakeAudio::open(sound::Device device, const QString& path, QString& error)
{
    const QString kind = device == sound::Device::Sequencer ? QStringLiteral("Sequencer") : QStringLiteral("WaveAudio");
    log << QStringLiteral("open %1 %2").arg(kind, Name(path));
    if (deviceFails) {
        error = QStringLiteral("ALSA: Couldn't open audio device: No such file or directory");
        return 0;
    }
    if (!QFile::exists(path)) {
        error = QStringLiteral("cannot open %1: No such file or directory").arg(path);
        return 0;
    }
    channels_[device] = {device, ++nextHandle_, path, false, nullptr};
    return nextHandle_;
}

bool FakeAudio::play(int handle, std::function<void()> onEnd, QString& error)
{
    Channel* channel = find(handle);
    if (!channel) {
        error = QStringLiteral("the device is not open");
        return false;
    }
    if (playFails) {
        error = QStringLiteral("the device would not play");
        return false;
    }
    log << QStringLiteral("play %1").arg(Name(channel->path));
    played << (channel->device == sound::Device::Sequencer ? QStringLiteral("music ") : QStringLiteral("effect "))
            + Name(channel->path);
    channel->playing = true;
    channel->onEnd = std::move(onEnd);
    return true;
}

void FakeAudio::close(int handle)
{
    if (Channel* channel = find(handle)) {
        log << QStringLiteral("close %1").arg(Name(channel->path));
        *channel = {};
    }
}

QString FakeAudio::playing(sound::Device device) const
{
    const auto it = channels_.find(device);
    return it != channels_.end() && it->second.playing ? it->second.path : QString();
}

bool FakeAudio::finish(sound::Device device)
{
    const auto it = channels_.find(device);
    if (it == channels_.end() || !it->second.playing)
        return false;
    it->second.playing = false;
    const auto onEnd = std::move(it->second.onEnd);
    it->second.onEnd = nullptr;
    if (onEnd)
        onEnd();
    return true;
}

FakeAudio::Channel* FakeAudio::find(int handle)
{
    for (auto& [device, channel] : channels_) {
        if (handle != 0 && channel.handle == handle)
            return &channel;
    }
    return nullptr;
}

namespace {

void Append16(QByteArray& out, quint16 v) { out.append(char(v >> 8)).append(char(v & 0xff)); }
void Append32(QByteArray& out, quint32 v)
{
    Append16(out, quint16(v >> 16));
    Append16(out, quint16(v & 0xffff));
}
void AppendVarLen(QByteArray& out, quint32 v)
{
    QByteArray bytes(1, char(v & 0x7f));
    while (v >>= 7)
        bytes.prepend(char(0x80 | (v & 0x7f)));
    out += bytes;
}
void AppendLe(QByteArray& out, quint32 v, int size)
{
    for (int i = 0; i < size; ++i)
        out.append(char((v >> (8 * i)) & 0xff));
}

} // namespace

QByteArray MidiFile(int ticks, int note)
{
    QByteArray track;
    AppendVarLen(track, 0);
    track += QByteArray::fromHex("ff5103") + QByteArray::fromHex("07a120"); // 500000 us a quarter
    AppendVarLen(track, 0);
    track += QByteArray::fromHex("c000"); // piano
    AppendVarLen(track, 0);
    track.append(char(0x90)).append(char(note)).append(char(100));
    AppendVarLen(track, quint32(ticks));
    track.append(char(0x80)).append(char(note)).append(char(0));
    AppendVarLen(track, 0);
    track += QByteArray::fromHex("ff2f00");

    QByteArray file("MThd");
    Append32(file, 6);
    Append16(file, 0);   // one track
    Append16(file, 1);
    Append16(file, 480); // ticks a quarter note
    file += "MTrk";
    Append32(file, quint32(track.size()));
    return file + track;
}

QByteArray WaveFile(double seconds, double hertz, int rate)
{
    const int frames = int(seconds * rate);
    QByteArray data;
    data.reserve(frames * 4);
    for (int i = 0; i < frames; ++i) {
        const auto sample = qint16(std::lround(12000 * std::sin(2 * M_PI * hertz * i / rate)));
        AppendLe(data, quint16(sample), 2);
        AppendLe(data, quint16(sample), 2);
    }
    QByteArray file("RIFF");
    AppendLe(file, quint32(36 + data.size()), 4);
    file += "WAVEfmt ";
    AppendLe(file, 16, 4);
    AppendLe(file, 1, 2); // PCM
    AppendLe(file, 2, 2);
    AppendLe(file, quint32(rate), 4);
    AppendLe(file, quint32(rate * 4), 4);
    AppendLe(file, 4, 2);
    AppendLe(file, 16, 2);
    file += "data";
    AppendLe(file, quint32(data.size()), 4);
    return file + data;
}

} // namespace testing
