// SPDX-License-Identifier: MIT
#include "sound/ModuleAudio.h"
#include "sound/sdl/AudioModule.h"

#include <QCoreApplication>

namespace sound {

ModuleAudio::ModuleAudio(QString modulePath)
    : library_(std::move(modulePath))
{
}

// The backend is made by the module's code, so it goes before the module
// could; the module itself stays mapped until the process ends.
ModuleAudio::~ModuleAudio() = default;

QString ModuleAudio::DefaultPath()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(AudioModuleFile);
}

AudioBackend* ModuleAudio::load(QString& error)
{
    if (real_)
        return real_.get();
    if (failure_.isEmpty()) {
        const auto makeBackend = reinterpret_cast<CreateAudioBackend>(library_.resolve(CreateAudioBackendSymbol));
        if (!makeBackend)
            failure_ = QStringLiteral("cannot load the sound module: %1").arg(library_.errorString());
        else if (AudioBackend* made = makeBackend())
            real_.reset(made);
        else
            failure_ = QStringLiteral("the sound module %1 made no device").arg(library_.fileName());
        // The volumes chosen before the first sound.
        if (real_) {
            for (Device device : {Device::Sequencer, Device::WaveAudio})
                real_->setVolume(device, volumes_[std::size_t(device)]);
        }
    }
    error = failure_;
    return real_.get();
}

int ModuleAudio::open(Device device, const QString& path, QString& error)
{
    AudioBackend* real = load(error);
    return real ? real->open(device, path, error) : 0;
}

bool ModuleAudio::play(int handle, std::function<void()> onEnd, QString& error)
{
    if (!real_) {
        error = QStringLiteral("the device is not open");
        return false;
    }
    return real_->play(handle, std::move(onEnd), error);
}

void ModuleAudio::close(int handle)
{
    if (real_)
        real_->close(handle);
}

void ModuleAudio::prepare()
{
    QString unused;
    if (AudioBackend* real = load(unused))
        real->prepare();
}

void ModuleAudio::setVolume(Device device, double volume)
{
    volumes_[std::size_t(device)] = volume;
    if (real_)
        real_->setVolume(device, volume);
}

} // namespace sound
