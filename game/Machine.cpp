// SPDX-License-Identifier: MIT
// The machine's start-up, its facts and their signals, the covers, the
// menus' commands, and its timers and sound. The spin itself is in
// MachineSpin.cpp.
#include "game/Machine.h"

#include "game/Draws.h"
#include "game/Prompts.h"
#include "platform/Runtime.h"

#include <cmath>
#include <limits>

namespace game {

Machine::Machine(Clock::Drive drive, QObject* parent)
    : QObject(parent)
    , clock_(drive)
{
    qRegisterMetaType<game::Cue>();
    qRegisterMetaType<game::Reel>();
    qRegisterMetaType<game::ReelFaces>();
    qRegisterMetaType<game::CoverFace>();
    qRegisterMetaType<game::Actions>();
    qRegisterMetaType<game::LampState>();
    qRegisterMetaType<game::SoundSwitch>();
    clock_.setTickHandler([this](TimerId timer) { tick(timer); });
    // The lamp timers tick from the start; the reel timer waits for a spin.
    clock_.setInterval(TimerId::FrameLamps, FrameLampTickMs);
    clock_.setRunning(TimerId::FrameLamps, true);
    setNoticePace(1000);
    clock_.setRunning(TimerId::NoticeLamps, true);
    clock_.setInterval(TimerId::Reel, s_.reelPaceMs);
}

bool Machine::spinning() const
{
    return s_.reels[0].turning || s_.reels[1].turning || s_.reels[2].turning || s_.allRotation;
}

// ---------------------------------------------------------------- start-up

void Machine::startUp(const StartValues& values)
{
    setSound(values.sound);
    if (values.unlocked)
        unlock();
    s_.denominator = values.denominator;
    setMoney(values.money);

    // The first reel faces: 6, 7 and 8 on the pay line. The centre reel's stop
    // rule also ends this "spin" as a plain miss, which readies the controls.
    left().position = 6;
    centre().position = 7;
    right().position = 8;
    for (ReelState& reel : s_.reels)
        reel.turning = false;
    stepLeftReel();
    stepCentreReel();
    stepRightReel();

    setAllCovers(CoverFace::Down);
    setTargetShown(0);
    setReelsRunning(false);
    setReelPace(ReelTickMs);
    s_.noticeOn = false;
    s_.targetRate = 1;
    setBet(0);
    setLastWin(0);
    changeActions([](Actions& a) {
        a.startLive = false;
        a.stopsLive.fill(false);
    });
}

// ---------------------------------------------------------------- the clock

void Machine::tick(TimerId timer)
{
    switch (timer) {
    case TimerId::Reel: tickReels(); break;
    case TimerId::FrameLamps: tickFrameLamps(); break;
    case TimerId::NoticeLamps: tickNoticeLamps(); break;
    case TimerId::AutoPlay: break; // auto play's own (game/AutoPlay.h)
    }
}

void Machine::tickFrameLamps()
{
    changeLamps([pace = clock_.pace()](Lamps& lamps) { lamps.tickFrame(pace); });
}

void Machine::tickNoticeLamps()
{
    changeLamps([](Lamps& lamps) { lamps.tickNotice(); });
}

void Machine::setReelPace(int ms)
{
    s_.reelPaceMs = ms;
    clock_.setInterval(TimerId::Reel, ms);
}

void Machine::setReelsRunning(bool running)
{
    s_.reelsRunning = running;
    clock_.setRunning(TimerId::Reel, running);
}

void Machine::setNoticePace(int ms)
{
    s_.noticePaceMs = ms;
    clock_.setInterval(TimerId::NoticeLamps, ms);
    s_.lamps.setNoticePremium(ms == PremiumNoticeMs);
}

void Machine::restore(const MachineState& state)
{
    s_ = state;
    clock_.setInterval(TimerId::Reel, s_.reelPaceMs);
    clock_.setRunning(TimerId::Reel, s_.reelsRunning);
    clock_.setInterval(TimerId::NoticeLamps, s_.noticePaceMs);
}

// ---------------------------------------------------------------- covers

void Machine::pickCover(int cover)
{
    setLastWin(0);
    setAllCovers(CoverFace::Down);
    setTargetShown(0);

    if (s_.bet >= MaxBet) {
        tell(Notice::BetLimit);
        return;
    }
    if (s_.money < CoverPrice)
        return;
    setMoney(s_.money - CoverPrice);
    s_.targetRate = 1;
    s_.targetSymbol = 0;

    if (Draw(4) != cover) {
        setCover(cover, CoverFace::Miss);
        emit coverPicked(false);
        return;
    }
    setCover(cover, CoverFace::Hit);
    setBet(s_.bet + 1);
    emit coverPicked(true);
    if (s_.money > TargetOfferAbove && s_.chanceLeft == 0)
        buyTarget(prompter().askTarget());
    changeActions([](Actions& a) { a.startLive = true; });
}

// The target choice: 1..9 buys that symbol for $100, anything else buys nothing.
void Machine::buyTarget(int symbol)
{
    s_.targetRate = 1;
    s_.targetSymbol = 0;
    if (symbol < 1 || symbol > 9)
        return;
    s_.targetSymbol = symbol;
    s_.targetRate = 100;
    setTargetShown(symbol);
    setMoney(s_.money - TargetPrice);
    emit targetBought(symbol);
}

// ---------------------------------------------------------------- menus

// $100 when broke: refused three times in ten, each refusal with its own excuse.
void Machine::borrow100()
{
    if (s_.money != 0) {
        tell(Notice::LoanNotNeeded);
        return;
    }
    const int excuse = Draw(10);
    if (excuse >= 1 && excuse <= 3) {
        tell(Notice::LoanRefused, excuse);
        return;
    }
    setMoney(100);
    emit loanGranted(100);
}

// $1000 when broke: granted once in fifty.
void Machine::borrow1000()
{
    if (s_.money != 0) {
        tell(Notice::LoanNotNeeded);
        return;
    }
    if (Draw(50) != 1) {
        tell(Notice::BigLoanRefused);
        return;
    }
    setMoney(s_.money + 1000);
    emit loanGranted(1000);
}

namespace {

// The whole number a text stands for, when its trimmed form is entirely one
// decimal number (sign, digits, decimal point, exponent) whose value rounded
// half to even fits in 16 bits. Anything else has no value.
std::optional<int> WholeNumber16(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double whole = std::nearbyint(value); // default rounding: half to even
    if (whole < std::numeric_limits<qint16>::min() || whole > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return int(whole);
}

// The denominator an answer asks for, kept within 6..5000: too small means
// the normal 300, too large the limit 5000. An answer that is no usable
// number keeps the denominator in force.
int ChooseDenominator(const QString& answer, double current)
{
    constexpr double Largest = 5000;
    double n = WholeNumber16(answer).value_or(std::nearbyint(current));
    if (DenominatorTooSmall(n))
        n = NormalDenominator;
    return int(qMin(n, Largest));
}

} // namespace

void Machine::changeProbability()
{
    const QString current = rt::DecimalText(s_.denominator);
    QString answer = prompter().askDenominator(current);
    if (answer.isEmpty())
        answer = current;
    const int n = ChooseDenominator(answer, s_.denominator);
    tell(Notice::ProbabilityChanged, n);
    unlock();
    chosenDenominator_ = n;
    s_.denominator = n;
}

void Machine::toggleSound()
{
    if (s_.sound != SoundSwitch::Off) {
        setSound(SoundSwitch::Off);
        emit soundStopped();
    } else {
        setSound(SoundSwitch::On);
    }
}

void Machine::setCalmLamps(bool calm)
{
    if (calm == s_.lamps.calm())
        return;
    changeLamps([calm](Lamps& lamps) { lamps.setCalm(calm); });
    emit calmLampsChanged(calm);
}

void Machine::unlock()
{
    if (s_.unlocked)
        return;
    s_.unlocked = true;
    emit unlockedChanged(true);
}

// ---------------------------------------------------------------- sound

// Every cue plays only while the sound is on.
void Machine::play(Cue c)
{
    if (soundOn())
        emit cue(c);
}

void Machine::closeMusic()
{
    if (soundOn())
        emit musicStopped();
}

void Machine::soundDeviceFailed()
{
    if (!inSpinStart_ || s_.sound != SoundSwitch::On)
        return;
    spinStartCueFailed_ = true;
    setSound(SoundSwitch::Off);
}

// ---------------------------------------------------------------- facts

void Machine::setMoney(qint64 money) { changeFact(s_.money, money, &Machine::moneyChanged); }
void Machine::setBet(int bet) { changeFact(s_.bet, bet, &Machine::betChanged); }
void Machine::setLastWin(qint64 win) { changeFact(s_.lastWin, win, &Machine::lastWinChanged); }
void Machine::setChanceCounter(int spinsLeft) { changeFact(s_.chanceCounter, spinsLeft, &Machine::chanceCounterChanged); }
void Machine::setTargetShown(int symbol) { changeFact(s_.targetShown, symbol, &Machine::targetShownChanged); }
void Machine::setActions(const Actions& actions) { changeFact(s_.actions, actions, &Machine::actionsChanged); }
void Machine::setSound(SoundSwitch sound) { changeFact(s_.sound, sound, &Machine::soundSwitchChanged); }

void Machine::setReelFaces(Reel reel, const ReelFaces& faces)
{
    ReelFaces& shown = s_.reel(reel).faces;
    if (faces == shown)
        return;
    shown = faces;
    emit reelChanged(reel, faces);
}

void Machine::setCover(int cover, CoverFace face)
{
    if (s_.covers[cover] == face)
        return;
    s_.covers[cover] = face;
    emit coverChanged(cover, face);
}

void Machine::setAllCovers(CoverFace face)
{
    for (int cover = 0; cover < int(s_.covers.size()); ++cover)
        setCover(cover, face);
}

} // namespace game
