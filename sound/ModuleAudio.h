// SPDX-License-Identifier: MIT
// The real sound device, kept out of the executable: SDL2_mixer, FluidSynth
// and the forty-odd libraries they pull in live in a module beside the
// program (libzelmor_audio.so) that is loaded on the first sound. A game
// played with sound off never maps them, which keeps its start-up time and
// memory close to a bare Qt program's.
#pragma once

#include "sound/AudioBackend.h"

#include <QLibrary>
#include <QString>

#include <array>
#include <memory>

namespace sound {

class ModuleAudio final : public AudioBackend {
public:
    // `modulePath`: the module's file. Nothing is loaded until the first
    // open() or prepare().
    explicit ModuleAudio(QString modulePath);
    ~ModuleAudio() override;
    ModuleAudio(const ModuleAudio&) = delete;
    ModuleAudio& operator=(const ModuleAudio&) = delete;

    int open(Device device, const QString& path, QString& error) override;
    bool play(int handle, std::function<void()> onEnd, QString& error) override;
    void close(int handle) override;
    void prepare() override;
    // Remembered until the module loads (setting a volume loads nothing),
    // then handed to its device.
    void setVolume(Device device, double volume) override;

    // Whether the module is loaded and made its backend.
    bool loaded() const { return real_ != nullptr; }
    // Where the game looks for the module: beside its executable.
    static QString DefaultPath();

private:
    // Loads the module once; a module that failed to load is not tried again
    // and every open() reports why.
    AudioBackend* load(QString& error);

    QLibrary library_;
    std::unique_ptr<AudioBackend> real_;
    QString failure_;
    std::array<double, 2> volumes_{1.0, 1.0}; // by Device
};

} // namespace sound
