// SPDX-License-Identifier: MIT
// Plays a scripted stretch of a game session with sound on, through the
// game's own machine, window timers and cue player in real time, on the real
// sound device. On SDL's disk driver the mixed output lands in a file that sox
// can measure:
//
//   SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=session.raw build/bench/bench_sound_session [sound-dir]
//   sox -t raw -r 44100 -e floating-point -b 32 -c 2 session.raw session.wav
//
// The session: a cover hit, a jackpot spin with the notice chime, the spin
// music, the reach tune, the jackpot bell, the slot-chance music handing over
// to its loop, and one slot-chance spin stopped by hand.
#include "BenchSupport.h"
#include "app/GameSession.h"
#include "sound/sdl/SdlAudio.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <functional>

namespace {

QElapsedTimer session;

void Note(const char* what)
{
    std::printf("%6.2f s  %s\n", double(session.elapsed()) / 1000.0, what);
    std::fflush(stdout);
}

// Runs the event loop, so the game's timers tick in real time, until `done`.
bool RunUntil(const std::function<bool()>& done, int maxMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > maxMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void RunFor(int ms)
{
    RunUntil([] { return false; }, ms);
}

// Nothing modal may stop the session: each message box is noted and
// answered, each dialog closed. (The play history's module is not beside this
// program, so the history reports itself unusable in a box.)
class NoteDialogs : public ui::DialogRunner {
public:
    int exec(QDialog& dialog) override
    {
        std::printf("          dialog closed: %s\n", qPrintable(dialog.windowTitle()));
        dialog.reject();
        return dialog.result();
    }
    ui::Answer showMessage(const ui::Message& message) override
    {
        const QString text = QString(message.text).replace(QLatin1String("\r\n"), QLatin1String(" "));
        std::printf("          message box: %s\n", qPrintable(text));
        return message.buttons == ui::Buttons::YesNo ? ui::Answer::Yes : ui::Answer::Ok;
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return QString(); }
};

// A hit at cover A, then Start with the given draws and those that follow.
void HitAndStart(game::Machine& machine, bench::ScriptedRandom& rnd, const std::vector<double>& draws,
                 std::initializer_list<double> later = {})
{
    rnd.script({bench::Pick(0, 4)});
    machine.pickCover(0);
    rnd.script(draws);
    rnd.script(later);
    machine.startSpin();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::ProgramCopy program;
    if (argc > 1) {
        const QDir sounds(QString::fromLocal8Bit(argv[1]));
        for (const QString& name : sounds.entryList({QStringLiteral("*.MID"), QStringLiteral("*.WAV")}, QDir::Files)) {
            QFile::remove(program.file(name));
            QFile::copy(sounds.filePath(name), program.file(name));
        }
    }
    NoteDialogs dialogs;
    ui::installDialogRunner(&dialogs);
    bench::Host host(program.path());
    seams::install(&host);
    bench::ScriptedRandom rnd;
    seams::install(&rnd);
    sound::SdlAudio audio;
    sound::install(&audio);

    app::GameSession game;
    if (!game.start())
        return 1;
    game::Machine& machine = game.machine();
    const game::MachineState& s = machine.state();
    // A first start plays no sound: the player picks "No sound" twice.
    machine.toggleSound();
    machine.toggleSound();
    if (!machine.soundOn())
        return 1;
    session.start();

    // A jackpot spin (draw 2: the normal stop after a reach) with the chime.
    HitAndStart(machine, rnd, bench::SpinDraws(0, 0, 0, 1, 2), {bench::Pick(12, 20), bench::Pick(5, 10)});
    Note("spin starts: ROLL.MID, YOKOKU.WAV");
    if (!RunUntil([&] { return s.reachShown; }, 15000))
        return 1;
    Note("reach: REACH.MID");
    if (!RunUntil([&] { return s.lastWin > 0; }, 30000))
        return 1;
    Note("jackpot: ATARI.WAV, Tvsa1.MID");
    if (!RunUntil([&] { return game.cuePlayer().musicCue() == game::Cue::ChanceLoop; }, 60000))
        return 1;
    Note("Tvsa1.MID ended: Tvsa2.MID");
    RunFor(4000);

    // A slot-chance spin, stopped by hand.
    HitAndStart(machine, rnd, bench::SpinDraws(0, 0, 0, 0, 100));
    Note("slot-chance spin starts");
    for (ui::PictureBox* stop : game.window().stopButtons) {
        RunFor(900);
        stop->click();
        Note("stop button: STOP.WAV");
    }
    RunFor(3000);
    game.quit(); // the data file's filler draws 0.5 once the script has run out
    Note("quit: both channels closed");
    RunFor(500);
    std::printf("soundfont %s; %lld frames mixed\n", qPrintable(audio.soundFont()),
                static_cast<long long>(audio.renderedFrames()));
    seams::install(static_cast<seams::RandomSource*>(nullptr));
    seams::install(static_cast<seams::Host*>(nullptr));
    return 0;
}
