#include "tests/support/TestSupport.h"

#include "app/MdlZelmor.h"
#include "platform/Controls.h"
#include "platform/Fonts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

namespace testing {

void ScriptedRandom::script(std::initializer_list<double> values)
{
    values_.insert(values_.end(), values.begin(), values.end());
}

void ScriptedRandom::script(const std::vector<double>& values)
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

double SeededRandom::next()
{
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return double(z >> 11) * 0x1.0p-53;
}

CueRecorder::CueRecorder()
{
    MMControl::commandHook = [this](MMControl& control, const QString& command) {
        const QString channel = control.deviceType() == QStringLiteral("WaveAudio") ? QStringLiteral("effect")
                                                                                   : QStringLiteral("music");
        const QString file = QFileInfo(control.fileName()).fileName();
        const QString verb = command.toLower();
        QString entry = channel + QLatin1Char(' ') + command;
        if (verb != QStringLiteral("close"))
            entry += QLatin1Char(' ') + file;
        const bool failed = fail && fail(channel, command, file);
        log << (failed ? entry + QStringLiteral(" failed") : entry);
        return !failed;
    };
}

CueRecorder::~CueRecorder() { MMControl::commandHook = nullptr; }

QStringList CueRecorder::played() const
{
    QStringList list;
    for (const QString& entry : log) {
        const QStringList parts = entry.split(QLatin1Char(' '));
        if (parts.size() == 3 && parts[1].compare(QStringLiteral("Play"), Qt::CaseInsensitive) == 0)
            list << parts[0] + QLatin1Char(' ') + parts[2];
    }
    return list;
}

int CueRecorder::musicStops() const
{
    int stops = 0;
    for (int i = 0; i < log.size(); ++i) {
        if (log[i].compare(QStringLiteral("music Close"), Qt::CaseInsensitive) != 0)
            continue;
        const bool cueFollows = i + 1 < log.size() && log[i + 1].startsWith(QStringLiteral("music Open"));
        if (!cueFollows)
            ++stops;
    }
    return stops;
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

FrmMain& Game::play()
{
    FrmMain& form = start();
    prompts.messages.clear();
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

int symbolShown(const ui::Image& box)
{
    const QString name = QFileInfo(box.picture()).fileName();
    if (name.size() != 7 || !name.startsWith(QStringLiteral("R0")) || !name.endsWith(QStringLiteral(".BMP")))
        return -1;
    const QChar digit = name.at(2);
    return digit.isDigit() ? digit.digitValue() : -1;
}

QString reelFaces(const FrmMain& f)
{
    QString faces;
    for (const ui::Image* box : {&f.Image1, &f.Image2, &f.Image3, &f.Image4, &f.Image5, &f.Image6, &f.Image7,
                                 &f.Image8, &f.Image9}) {
        const int symbol = symbolShown(*box);
        if (!box->visible())
            faces += QLatin1Char('.');
        else
            faces += symbol < 0 ? QLatin1Char('-') : QChar(QLatin1Char('0' + symbol));
    }
    return faces;
}

QString payLine(const FrmMain& f)
{
    const QString faces = reelFaces(f);
    return QString() + faces[1] + faces[4] + faces[7];
}

std::vector<double> spinDraws(int left, int centre, int right, int reach, int drawNumber, int denominator)
{
    return {pick(left, 9), pick(centre, 9), pick(right, 9), pick(reach, 3), pick(drawNumber - 1, denominator)};
}

std::vector<Tick> runReels(FrmMain& f, int maxTicks, const std::function<void(int)>& afterTick)
{
    std::vector<Tick> ticks;
    while (int(ticks.size()) < maxTicks && f.Timer1.enabled()
           && (f.SpinL == 1 || f.SpinC == 1 || f.SpinR == 1 || f.AllRotation == 1)) {
        Tick tick;
        tick.waitedMs = f.Timer1.interval();
        f.Timer1.fire();
        tick.faces = reelFaces(f);
        ticks.push_back(tick);
        if (afterTick)
            afterTick(int(ticks.size()));
    }
    return ticks;
}

void hitAndStart(Game& game, FrmMain& f, const std::vector<double>& draws, std::initializer_list<double> later)
{
    game.rnd.push(pick(0, 4));
    f.Image10.click();
    game.rnd.script(draws);
    game.rnd.script(later);
    f.Command1.click();
}

} // namespace testing
