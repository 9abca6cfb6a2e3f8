// Plays a scripted stretch of the game with sound on, through the game's own
// routines and timers in real time, on the real sound device. On SDL's disk
// driver the mixed output lands in a file that sox can measure:
//
//   SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=session.raw build/bench/bench_sound_session [sound-dir]
//   sox -t raw -r 44100 -e signed -b 16 -c 2 session.raw session.wav
//
// The session: a cover hit, a jackpot spin with the notice chime, the spin
// music, the reach tune, the jackpot bell, the slot-chance music handing over
// to its loop, and one slot-chance spin stopped by hand.
#include "app/MdlZelmor.h"
#include "sound/sdl/SdlAudio.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <functional>

using namespace testing;

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

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Game game;
    if (argc > 1) {
        const QDir sounds(QString::fromLocal8Bit(argv[1]));
        for (const QString& name : sounds.entryList({QStringLiteral("*.MID"), QStringLiteral("*.WAV")}, QDir::Files)) {
            game.removeFile(name);
            QFile::copy(sounds.filePath(name), game.path(name));
        }
    }
    sound::SdlAudio audio;
    sound::install(&audio);
    FrmMain& f = game.start();
    MdlZelmor::SaveLines[3] = QStringLiteral("0");
    f.ConfigureSound();
    session.start();

    // A jackpot spin (draw 2: the normal stop after a reach) with the chime.
    hitAndStart(game, f, spinDraws(0, 0, 0, 1, 2), {pick(12, 20), pick(5, 10)});
    Note("spin starts: ROLL.MID, YOKOKU.WAV");
    if (!RunUntil([&] { return f.ReachShown == 1; }, 15000))
        return 1;
    Note("reach: REACH.MID");
    if (!RunUntil([&] { return f.Label14.visible(); }, 30000))
        return 1;
    Note("jackpot: ATARI.WAV, Tvsa1.MID");
    if (!RunUntil([&] { return f.MMControl1.fileName().endsWith(QStringLiteral("Tvsa2.MID")); }, 60000))
        return 1;
    Note("Tvsa1.MID ended: Tvsa2.MID");
    RunFor(4000);

    // A slot-chance spin, stopped by hand.
    hitAndStart(game, f, spinDraws(0, 0, 0, 0, 100));
    Note("slot-chance spin starts");
    for (ui::Image* stop : {&f.ImgLStop, &f.ImgCStop, &f.ImgRStop}) {
        RunFor(900);
        stop->click();
        Note("stop button: STOP.WAV");
    }
    RunFor(3000);
    for (int i = 0; i < 1000; ++i) // the data file's filler, written at quitting
        game.rnd.push(0.5);
    f.mnuQuit_Click();
    Note("quit: both channels closed");
    RunFor(500);
    std::printf("soundfont %s; %lld frames mixed\n", qPrintable(audio.soundFont()),
                static_cast<long long>(audio.renderedFrames()));
    return 0;
}
