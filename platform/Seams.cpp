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

// Until the game installs its dialogs: answers without showing anything.
class SilentPrompter final : public Prompter {
public:
    int msgBox(const QString&, int style, const QString&) override { return (style & 0xF) == vbYesNo ? vbNo : vbOK; }
    QString inputBox(const QString&, const QString&, const QString&) override { return QString(); }
    int chooseTarget() override { return 0; }
    WitsChoice witsWelcome() override { return WitsChoice::Closed; }
    void witsFailure(double) override {}
    void showModal(QDialog&) override {}
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
SilentPrompter silentPrompter;
ProcessHost realHost;
RandomSource* currentRandom = &realRandom;
Prompter* currentPrompter = &silentPrompter;
Host* currentHost = &realHost;

} // namespace

void install(RandomSource* source) { currentRandom = source ? source : &realRandom; }
void install(Prompter* prompter) { currentPrompter = prompter ? prompter : &silentPrompter; }
void install(Host* host) { currentHost = host ? host : &realHost; }

RandomSource& random() { return *currentRandom; }
Prompter& prompter() { return *currentPrompter; }
Host& host() { return *currentHost; }

} // namespace seams

double Rnd() { return seams::random().next(); }
void Randomize() { seams::random().randomize(); }
int MsgBox(const QString& prompt, int style, const QString& title)
{
    return seams::prompter().msgBox(prompt, style, title);
}
QString InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    return seams::prompter().inputBox(prompt, title, defaultText);
}
void ShowModal(QDialog& dialog) { seams::prompter().showModal(dialog); }
QString SaveFileName(const QString& title, const QString& suggestedPath, const QString& filter)
{
    return seams::prompter().saveFileName(title, suggestedPath, filter);
}
QString ProgramDir() { return seams::host().programDir(); }
void EndProgram() { seams::host().endProgram(); }
bool ProgramEnded() { return seams::host().ended(); }
