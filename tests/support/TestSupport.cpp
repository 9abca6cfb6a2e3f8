#include "tests/support/TestSupport.h"

#include "app/MdlZelmor.h"
#include "platform/Controls.h"
#include "platform/Fonts.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace testing {

void ScriptedRandom::script(std::initializer_list<double> values)
{
    values_.insert(values_.end(), values.begin(), values.end());
}

double ScriptedRandom::next()
{
    ++draws_;
    if (values_.empty()) {
        if (!exhausted_)
            qWarning("the scripted random numbers ran out");
        exhausted_ = true;
        return 0.0;
    }
    const double value = values_.front();
    values_.pop_front();
    return value;
}

void ScriptedRandom::clear()
{
    values_.clear();
    exhausted_ = false;
    draws_ = 0;
}

int ScriptedPrompts::msgBox(const QString& prompt, int style, const QString& title)
{
    messages.push_back({prompt, style, title});
    if (onMessage)
        onMessage(messages.back());
    if ((style & 0x7) == seams::vbYesNo) {
        if (answers.empty())
            return seams::vbYes;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return seams::vbOK;
}

QString ScriptedPrompts::inputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    inputs.push_back({prompt, title, defaultText});
    if (inputAnswers.empty())
        return QString();
    const QString answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

void ScriptedPrompts::showModal(QDialog& dialog)
{
    dialogsShown << QString::fromLatin1(dialog.metaObject()->className());
    dialog.show();
    if (!dialogHandlers.empty()) {
        auto handler = std::move(dialogHandlers.front());
        dialogHandlers.pop_front();
        handler(dialog);
    }
    dialog.close();
}

QStringList ScriptedPrompts::texts() const
{
    QStringList list;
    for (const auto& m : messages)
        list << m.text;
    return list;
}

QStringList assetFiles()
{
    const QDir source(QStringLiteral(ZELMOR_ASSET_DIR));
    return source.entryList({QStringLiteral("*.BMP"), QStringLiteral("*.PNG"), QStringLiteral("*.MID"),
                             QStringLiteral("*.WAV")},
                            QDir::Files);
}

Game::Game()
{
    ui::installFontSubstitutions();
    ui::PictureFiles::clear();
    MdlZelmor::Reset();
    host.dir = tmp_.path();
    for (const QString& name : assetFiles())
        QFile::copy(QStringLiteral(ZELMOR_ASSET_DIR "/") + name, path(name));
    seams::install(&rnd);
    seams::install(&prompts);
    seams::install(&host);
    sound::install(&audio);
}

Game::~Game()
{
    form_.reset();
    seams::install(static_cast<seams::RandomSource*>(nullptr));
    seams::install(static_cast<seams::Prompter*>(nullptr));
    seams::install(static_cast<seams::Host*>(nullptr));
    sound::install(nullptr);
    MdlZelmor::Reset();
}

FrmMain& Game::window()
{
    if (!form_)
        form_ = std::make_unique<FrmMain>();
    return *form_;
}

FrmMain& Game::start()
{
    FrmMain& form = window();
    form.Form_Load();
    return form;
}

void Game::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path(name)));
    file.write(bytes);
}

QByteArray Game::readFile(const QString& name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Game::removeFile(const QString& name) const
{
    QFile::remove(path(name));
}

} // namespace testing
