// SPDX-License-Identifier: MIT
// The built tunes and effects: every file is where the game looks for it,
// each tune is a well-formed format 1 MIDI file of playable length (the
// looping ones ending exactly on a bar line, still sounding up to it), and
// each effect is 16-bit 44.1 kHz audio of the right length and level.
// Also the score notation the tunes are written in.
#include "Score.h"

#include <SDL.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

QString assetPath(const QString& name) { return QStringLiteral(ZELMOR_ASSET_DIR "/") + name; }

struct Note {
    quint32 tick, length;
    int key, channel;
    bool operator==(const Note&) const = default;
};

// What the tests need to know of a Standard MIDI File.
struct MidiSummary {
    QString error;
    int format = -1, tracks = 0, division = 0;
    quint32 endTick = 0, lastNoteOff = 0;
    quint32 ticksPerBar = 0;
    double seconds = 0;
    int hangingNotes = 0;
    bool drums = false;
    QSet<int> channels;
    std::vector<Note> notes; // in the order they end
};

MidiSummary summarise(const QByteArray& d)
{
    MidiSummary s;
    int pos = 0;
    auto byte = [&](int i) { return i < d.size() ? static_cast<quint8>(d[i]) : 0; };
    auto big = [&](int i, int n) { quint32 v = 0; for (int k = 0; k < n; ++k) v = v << 8 | byte(i + k); return v; };
    auto varLen = [&](int& i) { quint32 v = 0; quint8 b; do { b = byte(i++); v = v << 7 | (b & 0x7F); } while (b & 0x80 && i < d.size()); return v; };
    if (!d.startsWith("MThd") || big(4, 4) != 6)
        return s.error = "no MThd header", s;
    s.format = static_cast<int>(big(8, 2));
    s.tracks = static_cast<int>(big(10, 2));
    s.division = static_cast<int>(big(12, 2));
    s.ticksPerBar = static_cast<quint32>(s.division) * 4;
    std::map<quint32, quint32> tempos{{0, 500000}};
    std::map<int, std::vector<quint32>> sounding; // note-on ticks by channel and key
    pos = 14;
    for (int t = 0; t < s.tracks; ++t) {
        if (d.mid(pos, 4) != "MTrk")
            return s.error = QStringLiteral("track %1 missing").arg(t), s;
        const int end = pos + 8 + static_cast<int>(big(pos + 4, 4));
        pos += 8;
        quint32 tick = 0;
        bool closed = false;
        quint8 status = 0;
        while (pos < end && !closed) {
            tick += varLen(pos);
            if (byte(pos) & 0x80)
                status = byte(pos++);
            if (status == 0xFF) {
                const quint8 type = byte(pos++);
                const int len = static_cast<int>(varLen(pos));
                if (type == 0x51)
                    tempos[tick] = big(pos, 3);
                if (type == 0x58)
                    s.ticksPerBar = static_cast<quint32>(s.division) * 4 * byte(pos) / (1u << byte(pos + 1));
                closed = type == 0x2F;
                pos += len;
            } else if (status == 0xF0 || status == 0xF7) {
                pos += static_cast<int>(varLen(pos));
            } else {
                const int kind = status & 0xF0, channel = status & 0x0F;
                const int key = byte(pos), velocity = byte(pos + 1);
                pos += (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
                auto& on = sounding[channel << 8 | key];
                if (kind == 0x90 && velocity > 0) {
                    on.push_back(tick);
                    s.channels.insert(channel);
                    s.drums |= channel == 9;
                } else if (kind == 0x80 || kind == 0x90) {
                    if (on.empty()) {
                        ++s.hangingNotes; // an end without a start
                    } else {
                        s.notes.push_back({on.front(), tick - on.front(), key, channel});
                        on.erase(on.begin());
                    }
                    s.lastNoteOff = std::max(s.lastNoteOff, tick);
                }
            }
        }
        if (!closed || pos != end)
            return s.error = QStringLiteral("track %1 not closed by end-of-track").arg(t), s;
        s.endTick = std::max(s.endTick, tick);
    }
    for (const auto& [key, on] : sounding)
        s.hangingNotes += static_cast<int>(on.size());
    // Seconds along the tempo map.
    for (auto it = tempos.begin(); it != tempos.end() && it->first < s.endTick; ++it) {
        const auto next = std::next(it);
        const quint32 until = next == tempos.end() ? s.endTick : std::min(next->first, s.endTick);
        s.seconds += (until - it->first) * (it->second / 1e6) / s.division;
    }
    return s;
}

MidiSummary summariseFile(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return summarise(file.readAll());
    MidiSummary failed;
    failed.error = QStringLiteral("cannot open ") + path;
    return failed;
}

// The notes of a small tune written with the score notation.
template <typename Compose>
std::vector<Note> written(double bars, Compose compose)
{
    tune::Tune t(120);
    compose(t);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.mid"));
    if (!t.write(path.toStdString(), bars))
        return {};
    std::vector<Note> notes = summariseFile(path).notes;
    std::sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.key < b.key;
    });
    return notes;
}

} // namespace

class TestSounds : public QObject {
    Q_OBJECT
private slots:
    void tunes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("loops");
        QTest::newRow("reels spinning") << "ROLL.MID" << true;
        QTest::newRow("reach") << "REACH.MID" << true;
        QTest::newRow("all-rotation reach") << "ALLR.MID" << true;
        QTest::newRow("goal reached") << "FEVER.MID" << true;
        QTest::newRow("slot chance intro") << "Tvsa1.MID" << true; // hands over to Tvsa2 without a gap
        QTest::newRow("slot chance loop") << "Tvsa2.MID" << true;
        QTest::newRow("normal play") << "Tvsa3.MID" << false;
    }
    void tunes()
    {
        QFETCH(QString, name);
        QFETCH(bool, loops);
        QFile file(assetPath(name));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name + " missing"));
        const MidiSummary s = summarise(file.readAll());
        QVERIFY2(s.error.isEmpty(), qPrintable(s.error));
        QCOMPARE(s.format, 1);
        QVERIFY(s.tracks >= 5); // conductor plus a full arrangement
        QVERIFY2(s.seconds >= 10 && s.seconds <= 40, qPrintable(QString::number(s.seconds)));
        QCOMPARE(s.hangingNotes, 0);
        QVERIFY(s.drums);
        QVERIFY(s.channels.size() >= 5);
        if (loops) {
            QCOMPARE(s.endTick % s.ticksPerBar, 0u);
            // No silent tail before the restart: something sounds into the last beat.
            QVERIFY(s.lastNoteOff + static_cast<quint32>(s.division) >= s.endTick);
        }
    }

    void slotChanceHandOver()
    {
        // Tvsa1 flows straight into Tvsa2, so both share tempo and metre.
        QFile intro(assetPath("Tvsa1.MID")), loop(assetPath("Tvsa2.MID"));
        QVERIFY(intro.open(QIODevice::ReadOnly) && loop.open(QIODevice::ReadOnly));
        const MidiSummary a = summarise(intro.readAll()), b = summarise(loop.readAll());
        QCOMPARE(a.ticksPerBar, b.ticksPerBar);
        const double barA = a.seconds / (a.endTick / a.ticksPerBar), barB = b.seconds / (b.endTick / b.ticksPerBar);
        QVERIFY(std::fabs(barA - barB) < 1e-3);
    }

    void melodyNotation()
    {
        // Lengths carry over, a tie joins two notes into one, a chord strikes together,
        // and every note but a tied one is shortened a little (gate).
        const auto notes = written(2, [](tune::Tune& t) {
            t.part("lead", 0, 100).play(0, "c4:4 d4:8 e4 r:2 | f4:2~ f4:4 <c5 e5 g5>:4 |", 90);
        });
        const std::vector<Note> expected = {{0, 440, 60, 0}, {480, 200, 62, 0}, {720, 200, 64, 0},
                                            {1920, 1400, 65, 0}, {3360, 440, 72, 0}, {3360, 440, 76, 0},
                                            {3360, 440, 79, 0}};
        QCOMPARE(notes, expected);
    }

    void miscountedBarStopsTheBuild()
    {
        tune::Tune t(120);
        tune::Part& p = t.part("lead", 0, 100);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, p.play(0, "c4:4 d4 e4 |", 90));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, tune::Progression(0, "C:2 | G"));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, tune::Progression(0, "Cxyz"));
    }

    void patternsFollowTheHarmony()
    {
        // A progression anchored at bar 1: the held chord is struck again where it
        // changes, and the bass follows the slash chord's bass note.
        const auto notes = written(2, [](tune::Tune& t) {
            const tune::Progression p(1, "C:2 G/B:2");
            t.part("pad", 0, 100).comp(1, p, "x---------------", 60, 80);
            t.part("bass", 0, 100).bass(1, p, "R-------O-------", 36, 80);
        });
        const std::vector<int> keys = [&] { std::vector<int> k; for (const Note& n : notes) k.push_back(n.key); return k; }();
        QCOMPARE(keys, (std::vector<int>{36, 60, 64, 67, 59, 62, 67, 71})); // C2 + C4 E4 G4, B3 + D4 G4 B4
        QCOMPARE(notes[0].tick, 1920u);
        QCOMPARE(notes[4].tick, 2880u);
    }

    void lastBarCutsRingingNotes()
    {
        // A note still sounding at the end stops there; one starting at the end is left out.
        const auto notes = written(1, [](tune::Tune& t) {
            t.part("lead", 0, 100).play(0, "c4:2. d4:2 e4:4", 90);
        });
        const std::vector<Note> expected = {{0, 1400, 60, 0}, {1440, 480, 62, 0}};
        QCOMPARE(notes, expected);
    }

    void effects_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("minSeconds");
        QTest::addColumn<double>("maxSeconds");
        QTest::newRow("notice chime") << "YOKOKU.WAV" << 0.5 << 1.0;
        QTest::newRow("reel stop") << "STOP.WAV" << 0.1 << 0.2;
        QTest::newRow("jackpot bell") << "ATARI.WAV" << 1.0 << 2.0;
    }
    void effects()
    {
        QFETCH(QString, name);
        QFETCH(double, minSeconds);
        QFETCH(double, maxSeconds);
        SDL_AudioSpec format{};
        Uint8* data = nullptr;
        Uint32 bytes = 0;
        QVERIFY2(SDL_LoadWAV(qPrintable(assetPath(name)), &format, &data, &bytes), SDL_GetError());
        const std::vector<Sint16> samples(reinterpret_cast<Sint16*>(data), reinterpret_cast<Sint16*>(data + bytes));
        SDL_FreeWAV(data);
        QCOMPARE(format.format, AUDIO_S16LSB);
        QCOMPARE(format.freq, 44100);
        QVERIFY(format.channels == 1 || format.channels == 2);
        const double seconds = static_cast<double>(samples.size()) / format.channels / format.freq;
        QVERIFY2(seconds >= minSeconds && seconds <= maxSeconds, qPrintable(QString::number(seconds)));
        int peak = 0;
        for (Sint16 v : samples)
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        const double peakDb = 20 * std::log10(peak / 32768.0);
        QVERIFY2(peakDb > -2.0 && peakDb < -0.5, qPrintable(QString::number(peakDb)));
        // Starts and stops at rest: no click at either end.
        QVERIFY(std::abs(samples.front()) < 300 && std::abs(samples.back()) < 300);
    }
};

QTEST_GUILESS_MAIN(TestSounds)
#include "test_sounds.moc"
