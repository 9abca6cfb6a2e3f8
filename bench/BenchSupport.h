// SPDX-License-Identifier: MIT
// Small helpers the benchmarks share: random numbers, a program directory of
// their own, and the timing statistics. Needs Qt Core and the seams only.
#pragma once

#include "platform/Seams.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <vector>

namespace bench {

// A reproducible uniform source on [0, 1): splitmix64.
class SeededRandom : public seams::RandomSource {
public:
    explicit SeededRandom(std::uint64_t seed) : state_(seed) {}
    double next() override
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        return double(z >> 11) * 0x1.0p-53;
    }

private:
    std::uint64_t state_;
};

// Returns the scripted values in order, then 0.5 for every further draw
// (the random filler a save writes, say).
class ScriptedRandom : public seams::RandomSource {
public:
    void script(std::initializer_list<double> values) { values_.insert(values_.end(), values); }
    void script(const std::vector<double>& values) { values_.insert(values_.end(), values.begin(), values.end()); }
    double next() override
    {
        if (values_.empty())
            return 0.5;
        const double value = values_.front();
        values_.pop_front();
        return value;
    }

private:
    std::deque<double> values_;
};

// The value that makes Int(Rnd * n) come out as k.
constexpr double Pick(int k, int n) { return (k + 0.5) / n; }

// The draws of one spin start, in the order Start makes them: the three run
// lengths (0..8 each), the reach draw (0..2) and the lottery (1..denominator).
inline std::vector<double> SpinDraws(int left, int centre, int right, int reach, int drawNumber, int denominator = 300)
{
    return {Pick(left, 9), Pick(centre, 9), Pick(right, 9), Pick(reach, 3), Pick(drawNumber - 1, denominator)};
}

// The program's directory of a benchmark: a temporary copy of the pictures
// and sounds the build wrote (ZELMOR_ASSET_DIR), so that the game may write
// its files beside them.
class ProgramCopy {
public:
    ProgramCopy()
    {
        const QDir assets(QStringLiteral(ZELMOR_ASSET_DIR));
        const QStringList kinds{QStringLiteral("*.BMP"), QStringLiteral("*.PNG"), QStringLiteral("*.MID"),
                                QStringLiteral("*.WAV")};
        for (const QString& name : assets.entryList(kinds, QDir::Files))
            QFile::copy(assets.filePath(name), file(name));
    }
    bool valid() const { return dir_.isValid(); }
    // Ends in '/'.
    QString path() const { return dir_.path() + QLatin1Char('/'); }
    QString file(const QString& name) const { return path() + name; }

private:
    QTemporaryDir dir_;
};

// The program's directory from the host seam, and ending the program as a
// flag rather than an exit.
class Host : public seams::Host {
public:
    explicit Host(QString dir) : dir_(std::move(dir)) {}
    QString programDir() override { return dir_; }
    void endProgram() override { ended_ = true; }
    bool ended() const override { return ended_; }

private:
    QString dir_;
    bool ended_ = false;
};

struct Stats {
    double median = 0, p99 = 0, mean = 0;
};

// Median, 99th percentile and mean of a non-empty sample.
inline Stats Summarise(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    Stats s;
    s.median = values[values.size() / 2];
    s.p99 = values[std::min(values.size() - 1, values.size() * 99 / 100)];
    for (double v : values)
        s.mean += v;
    s.mean /= double(values.size());
    return s;
}

} // namespace bench
