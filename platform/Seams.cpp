// SPDX-License-Identifier: MIT
#include "platform/Seams.h"

#include <QCoreApplication>

#include <chrono>
#include <random>

namespace seams {
namespace {

class ClockRandom final : public RandomSource {
public:
    double next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }
    void randomize() override
    {
        engine_.seed(std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count()));
    }

private:
    std::mt19937_64 engine_{12345};
};

class ProcessHost final : public Host {
public:
    QString programDir() override { return QCoreApplication::applicationDirPath(); }
    void endProgram() override
    {
        ended_ = true;
        QCoreApplication::exit(0);
    }
    bool ended() const override { return ended_; }

private:
    bool ended_ = false;
};

ClockRandom realRandom;
ProcessHost realHost;
RandomSource* currentRandom = &realRandom;
Host* currentHost = &realHost;

} // namespace

void install(RandomSource* source) { currentRandom = source ? source : &realRandom; }
void install(Host* host) { currentHost = host ? host : &realHost; }

RandomSource& random() { return *currentRandom; }
Host& host() { return *currentHost; }

} // namespace seams

double Rnd() { return seams::random().next(); }
void Randomize() { seams::random().randomize(); }
QString ProgramDir() { return seams::host().programDir(); }
void EndProgram() { seams::host().endProgram(); }
bool ProgramEnded() { return seams::host().ended(); }
