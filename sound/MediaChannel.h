// SPDX-License-Identifier: MIT
// One media channel of the sound device: the music (MIDI) or the effects
// (WAV). It plays one file at a time; a new file cuts off the one before.
#pragma once

#include "sound/AudioBackend.h"

#include <QObject>
#include <QString>

namespace sound {

class MediaChannel : public QObject {
    Q_OBJECT
public:
    explicit MediaChannel(Device device, QObject* parent = nullptr);
    ~MediaChannel() override;

    Device device() const { return device_; }

    // Why the last play() left the channel silent.
    enum class Failure {
        None,
        FileMissing, // no readable file at the path: the device may be fine
        Device,      // the device could not open or play a file that is there
    };

    // Cuts off whatever the channel played, then opens `path` and plays it
    // from its beginning. Returns false when it could not; failure() and
    // lastError() then say why, and the channel is silent.
    bool play(const QString& path);
    // Stops and releases the file; harmless when the channel is silent.
    void stop();

    // True from a successful play() until the file ends or is stopped or
    // replaced.
    bool isPlaying() const { return playing_; }
    // Why the last play() failed; None and empty after one that succeeded.
    Failure failure() const { return failure_; }
    QString lastError() const { return error_; }

signals:
    // The file played to its end. Never sent for a file that was stopped or
    // replaced before its end, even when the device had already finished it.
    void finished();

private:
    bool fail(Failure failure, const QString& why);
    void ended(unsigned play);

    Device device_;
    Failure failure_ = Failure::None;
    QString error_;
    AudioBackend* backend_ = nullptr; // the backend that holds handle_
    int handle_ = 0;
    unsigned plays_ = 0; // counts every play() and stop(): a stale end is dropped
    bool playing_ = false;
};

} // namespace sound
