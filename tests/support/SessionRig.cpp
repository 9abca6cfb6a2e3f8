// SPDX-License-Identifier: MIT
#include "tests/support/SessionRig.h"

#include "sound/AudioBackend.h"
#include "storage/History.h"
#include "ui/Fonts.h"
#include "ui/Pictures.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace testing {

QStringList assetFiles()
{
    const QDir source(QStringLiteral(ZELMOR_ASSET_DIR));
    return source.entryList({QStringLiteral("*.BMP"), QStringLiteral("*.PNG"), QStringLiteral("*.MID"),
                             QStringLiteral("*.WAV")},
                            QDir::Files);
}

SessionRig::SessionRig()
{
    // The player's own preferences never reach a test: the run keeps its
    // own, in a directory that lives as long as the test program.
    static QTemporaryDir preferences;
    static const bool isolated =
        (QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, preferences.path()), true);
    Q_UNUSED(isolated);
    ui::installFontSubstitutions();
    ui::PictureFiles::clear();
    host.dir = tmp_.path();
    for (const QString& name : assetFiles())
        QFile::copy(QStringLiteral(ZELMOR_ASSET_DIR "/") + name, path(name));
    sound::install(&audio);
    storage::History::useModuleAt(QStringLiteral(ZELMOR_HISTORY_MODULE_PATH));
}

SessionRig::~SessionRig()
{
    session_.reset();
    sound::install(nullptr);
}

void SessionRig::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path(name)));
    file.write(bytes);
}

QByteArray SessionRig::readFile(const QString& name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SessionRig::removeFile(const QString& name) const
{
    QFile::remove(path(name));
}

app::GameSession& SessionRig::session()
{
    if (!session_)
        session_ = std::make_unique<app::GameSession>(game::Clock::Drive::ByHand);
    return *session_;
}

bool SessionRig::start()
{
    return session().start();
}

app::GameSession& SessionRig::play()
{
    if (!start())
        qFatal("the game did not start");
    prompts.notices.clear();
    prompts.shown.clear();
    dialogs.clear();
    return session();
}

} // namespace testing
