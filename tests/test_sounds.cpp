// The built tunes and effects: every file is where the game looks for it,
// each tune is a well-formed format 1 MIDI file of playable length (the
// looping ones ending exactly on a bar line, still sounding up to it), and
// each effect is 16-bit 44.1 kHz audio of the right length and level.
#include <SDL.h>

#include <QFile>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

QString assetPath(const QString& name) { return QStringLiteral(ZELMOR_ASSET_DIR "/") + name; }

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
    std::map<int, int> sounding;
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
                if (kind == 0x90 && velocity > 0) {
                    ++sounding[channel << 8 | key];
                    s.channels.insert(channel);
                    s.drums |= channel == 9;
                } else if (kind == 0x80 || kind == 0x90) {
                    --sounding[channel << 8 | key];
                    s.lastNoteOff = std::max(s.lastNoteOff, tick);
                }
            }
        }
        if (!closed || pos != end)
            return s.error = QStringLiteral("track %1 not closed by end-of-track").arg(t), s;
        s.endTick = std::max(s.endTick, tick);
    }
    for (const auto& [key, count] : sounding)
        s.hangingNotes += std::abs(count);
    // Seconds along the tempo map.
    for (auto it = tempos.begin(); it != tempos.end() && it->first < s.endTick; ++it) {
        const auto next = std::next(it);
        const quint32 until = next == tempos.end() ? s.endTick : std::min(next->first, s.endTick);
        s.seconds += (until - it->first) * (it->second / 1e6) / s.division;
    }
    return s;
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
        SDL_AudioSpec spec{};
        Uint8* data = nullptr;
        Uint32 bytes = 0;
        QVERIFY2(SDL_LoadWAV(qPrintable(assetPath(name)), &spec, &data, &bytes), SDL_GetError());
        const std::vector<Sint16> samples(reinterpret_cast<Sint16*>(data), reinterpret_cast<Sint16*>(data + bytes));
        SDL_FreeWAV(data);
        QCOMPARE(spec.format, AUDIO_S16LSB);
        QCOMPARE(spec.freq, 44100);
        QVERIFY(spec.channels == 1 || spec.channels == 2);
        const double seconds = static_cast<double>(samples.size()) / spec.channels / spec.freq;
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
