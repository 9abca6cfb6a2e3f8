// SPDX-License-Identifier: MIT
#include "game/Machine.h"

#include "game/Draws.h"
#include "game/Payout.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"

#include <cmath>
#include <limits>
#include <utility>

namespace game {

namespace {

const QString Title = QStringLiteral("ゼルモア");

void Tell(const QString& text)
{
    MsgBox(text, seams::vbInformation, Title);
}

int StepBack(int symbol) { return symbol - 1 < 0 ? 9 : symbol - 1; }
int StepOn(int symbol) { return symbol + 1 > 9 ? 0 : symbol + 1; }

int& Position(MachineState& s, Reel reel)
{
    return reel == Reel::Left ? s.posL : reel == Reel::Centre ? s.posC : s.posR;
}

bool& Turning(MachineState& s, Reel reel)
{
    return reel == Reel::Left ? s.spinL : reel == Reel::Centre ? s.spinC : s.spinR;
}

// Counts a reel's countdown down; true once it has run out. It stays at 0,
// so the reel's stop rule applies again at every step it keeps turning.
bool CountDown(int& count)
{
    if (count != 0)
        --count;
    return count == 0;
}

} // namespace

Machine::Machine(QObject* parent)
    : QObject(parent)
{
    qRegisterMetaType<game::Cue>();
    qRegisterMetaType<game::Reel>();
}

// ---------------------------------------------------------------- start-up

void Machine::startUp(const StartValues& values)
{
    s_.sound = values.sound;
    s_.unlocked = values.unlocked;
    s_.denominator = values.denominator;
    setMoney(values.money);

    // The first reel faces: 6, 7 and 8 on the pay line. The centre reel's stop
    // logic also ends this "spin" as a plain miss, which readies the controls.
    s_.posL = 6;
    s_.posC = 7;
    s_.posR = 8;
    s_.spinL = s_.spinC = s_.spinR = false;
    TickLeftReel();
    TickCentreReel();
    TickRightReel();

    s_.covers.fill(CoverFace::Down);
    s_.targetPicture = 0;
    setReelTimerEnabled(false);
    setReelTimerInterval(ReelTickMs);
    s_.startShown = false;
    s_.frameBlink = s_.noticeBlink = s_.noticeOn = false;
    s_.framePhase = s_.noticePhase = 0;
    s_.targetRate = 1;
    s_.bet = 0;
    s_.lastWin = 0;
    s_.stopShown.fill(false);
    emit amountsChanged();
    emit controlsChanged();
    emit soundSwitchChanged();
    emit unlockedChanged();
}

// ---------------------------------------------------------------- covers

void Machine::pickCover(int cover)
{
    s_.lastWin = 0;
    s_.covers.fill(CoverFace::Down);
    s_.targetPicture = 0;
    emit amountsChanged();
    emit controlsChanged();

    if (s_.bet >= MaxBet) {
        Tell(QStringLiteral("ＢＥＴは１０倍迄です。"));
        return;
    }
    if (s_.money < CoverPrice)
        return;
    setMoney(s_.money - CoverPrice);
    s_.targetRate = 1;
    s_.targetSymbol = 0;

    if (Draw(4) != cover) {
        s_.covers[cover] = CoverFace::Miss;
        emit controlsChanged();
        recordMoney(PlayKind::CoverMiss, -CoverPrice);
        return;
    }
    s_.covers[cover] = CoverFace::Hit;
    ++s_.bet;
    recordMoney(PlayKind::CoverHit, -CoverPrice);
    emit amountsChanged();
    emit controlsChanged();
    if (s_.money > TargetOfferAbove && s_.chanceLeft == 0) {
        s_.pointer = Pointer::Hourglass;
        emit controlsChanged();
        buyTarget(seams::prompter().chooseTarget());
        s_.pointer = Pointer::Default;
    }
    s_.startShown = true;
    emit controlsChanged();
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
    s_.targetPicture = symbol;
    setMoney(s_.money - TargetPrice);
    emit controlsChanged();
    recordMoney(PlayKind::Target, -TargetPrice);
}

// ---------------------------------------------------------------- spin start

void Machine::startSpin()
{
    if (s_.spinL || s_.spinC || s_.spinR) {
        s_.spinL = s_.spinC = s_.spinR = false;
        return;
    }
    inSpinStart_ = true;
    spinStartCueFailed_ = false;
    if (s_.chanceLeft == 0)
        playSpinStartCue(Cue::Roll);
    s_.startShown = false;
    s_.covers.fill(CoverFace::Down);
    s_.coversEnabled = false;
    s_.menusEnabled = false;
    for (int reel = 0; reel < 3; ++reel) {
        s_.rows[reel * 3].visible = true;
        s_.rows[reel * 3 + 2].visible = true;
    }
    s_.pointer = Pointer::ArrowHourglass;
    s_.spinL = s_.spinC = s_.spinR = true;
    emit controlsChanged();
    for (Reel reel : {Reel::Left, Reel::Centre, Reel::Right})
        emit reelChanged(reel);

    s_.stopCountL = Draw(9, 50);
    s_.stopCountC = Draw(9, 95);
    s_.stopCountR = Draw(9, 75);
    s_.reachFlag = Draw(3);
    setReelTimerInterval(ReelTickMs);
    setReelTimerEnabled(true);
    s_.drawNumber = DrawLottery(s_.denominator);
    if (s_.drawNumber >= 2 && s_.drawNumber <= 6)
        s_.reachFlag = 1;
    s_.reachShown = false;

    s_.slotChanceSpin = s_.chanceLeft != 0;
    if (s_.slotChanceSpin) {
        // A slot-chance spin: no lottery, no reach; the player stops the reels.
        --s_.chanceLeft;
        s_.reachFlag = 0;
        s_.drawNumber = 0;
        s_.stopShown.fill(true);
        s_.stopCountL = 50000;
        s_.stopCountC = 50002;
        s_.stopCountR = 50001;
        emit controlsChanged();
    }
    drawSpinNotice();
    recordSpinStart();
    inSpinStart_ = false;

    // The whole spin is decided before the player hears of a failed sound, so
    // reel ticks during the message play out a complete spin.
    if (spinStartCueFailed_)
        Tell(QStringLiteral("音源デバイスエラーです。<音はいらない> に自動設定します。"));
}

// The jackpot notice of a jackpot spin, or the false notice of a reach that
// will not pay. A jackpot spin arms its five slot-chance spins right here.
void Machine::drawSpinNotice()
{
    noticeChimeDrawn_ = false;
    if (s_.drawNumber >= 1 && s_.drawNumber <= 6) {
        s_.noticeOn = false;
        const int x = Draw(20);
        if (x == 1) {
            setNoticeTimerInterval(PremiumNoticeMs);
            s_.noticeBlink = s_.noticeOn = true;
        }
        if (x > 15) {
            setNoticeTimerInterval(500);
            s_.noticeBlink = s_.noticeOn = true;
        }
        if (x > 10)
            playNoticeChime();
        s_.chanceLeft = ChanceSpins;
    } else if (s_.reachFlag == 1) {
        if (Draw(30) >= 20)
            playNoticeChime();
        if (Draw(30) <= 10) {
            setNoticeTimerInterval(500);
            s_.noticeBlink = s_.noticeOn = true;
        }
    }
}

void Machine::playNoticeChime()
{
    noticeChimeDrawn_ = true;
    playSpinStartCue(Cue::Notice);
}

// A cue of the spin start. When the sound device fails, sound is switched off
// for good and the spin still starts in full: the draws, the notice lamps and
// the slot chance do not depend on the sound.
void Machine::playSpinStartCue(Cue c)
{
    play(c);
}

void Machine::soundDeviceFailed()
{
    if (!inSpinStart_ || s_.sound != SoundSwitch::On)
        return;
    spinStartCueFailed_ = true;
    s_.sound = SoundSwitch::Off;
    emit soundSwitchChanged();
}

// ---------------------------------------------------------------- reel steps

// Each flag is read just before its own step, so a step that stops other
// reels or starts the all-rotation reach takes effect in the same tick.
void Machine::tickReels()
{
    if (s_.spinL)
        TickLeftReel();
    if (s_.spinC)
        TickCentreReel();
    if (s_.spinR)
        TickRightReel();
    if (s_.allRotation)
        TickAllRotation();
}

// Draws symbols position+1, position and position-1 into the top, middle and
// bottom rows, then advances the position: between steps a position is one
// ahead of the symbol on the pay line.
void Machine::drawReel(Reel reel)
{
    int& position = Position(s_, reel);
    const int first = int(reel) * 3;
    for (int k = 0; k < 3; ++k) {
        int n = position + 1 - k;
        if (n > 9)
            n -= 10;
        if (n < 0)
            n += 10;
        s_.rows[first + k].symbol = n;
    }
    position = StepOn(position);
    emit reelChanged(reel);
}

void Machine::TickLeftReel()
{
    drawReel(Reel::Left);
    if (CountDown(s_.stopCountL))
        LeftReelStops();
}

void Machine::TickCentreReel()
{
    drawReel(Reel::Centre);
    s_.hitSymbol = s_.posC;
    if (CountDown(s_.stopCountC))
        CentreStopLogic();
    CheckReachMusic();
}

void Machine::TickRightReel()
{
    drawReel(Reel::Right);
    if (CountDown(s_.stopCountR))
        RightReelStopRule();
}

// The left reel stops on whatever it shows; the spin's notice ends here, and
// the all-rotation reach or the instant line-up begins.
void Machine::LeftReelStops()
{
    s_.spinL = false;
    if (s_.noticeOn) {
        s_.noticeOn = false;
        StopNoticeLamps();
    }
    s_.stopShown[0] = false;
    emit controlsChanged();
    if (s_.drawNumber == 1)
        StartAllRotation();
    if (s_.drawNumber == 6)
        LineUpInstantly();
    if (s_.slotChanceSpin)
        judgeSlotChanceSpin();
}

// Without a reach the right reel never rests on the left reel's symbol; with
// one it turns on until it does, and the reach begins at the slower pace.
void Machine::RightReelStopRule()
{
    s_.stopShown[2] = false;
    emit controlsChanged();
    if (s_.reachFlag != 1) {
        if (s_.posR != s_.posL) {
            s_.spinR = false;
            if (s_.slotChanceSpin)
                judgeSlotChanceSpin();
        }
        return;
    }
    if (s_.posR != s_.posL)
        return;
    s_.spinR = false;
    setReelTimerInterval(500);
    s_.stopCountC = Draw(10, 10);
    s_.frameBlink = true;
}

// Runs at every centre step once the centre countdown is out. drawNumber 2..5
// play their reach actions; anything else stops the centre reel on a symbol
// other than the left reel's.
void Machine::CentreStopLogic()
{
    s_.stopShown[1] = false;
    emit controlsChanged();
    if (s_.drawNumber >= 2 && s_.drawNumber <= 5) {
        // The tests run one after the other: a pause that turns 3, 4 or 5
        // into 2 takes effect at the next step.
        if (s_.drawNumber == 2) {
            setReelTimerInterval(500);
            s_.frameBlink = true;
            if (s_.hitSymbol == s_.posL) {
                s_.spinC = false;
                setReelTimerEnabled(false);
                s_.hitSymbol = StepBack(s_.hitSymbol);
                PayJackpot();
            }
        }
        if (s_.drawNumber == 3)
            ReachPause();
        if (s_.drawNumber == 4 && s_.posL == StepOn(s_.hitSymbol))
            ReachPause();
        if (s_.drawNumber == 5 && s_.posL == StepBack(s_.hitSymbol))
            ReachPause();
        return;
    }
    if (s_.posL != s_.hitSymbol)
        EndWithoutWin();
}

// The centre reel halts for 1.5 s with lamps dark and music stopped, then
// finishes as a normal stop.
void Machine::ReachPause()
{
    StopFrameLamps();
    closeMusic();
    setReelTimerInterval(1500);
    s_.drawNumber = 2;
}

// A miss, or the bust of a slot-chance spin whose centre reel ran out.
void Machine::EndWithoutWin()
{
    s_.spinC = false;
    setReelTimerEnabled(false);
    if (s_.reachFlag == 1)
        StopFrameLamps();
    closeMusic();
    if (s_.chanceLeft != 0) {
        s_.chanceLeft = 0;
        BackToNormalPlay();
        Tell(QStringLiteral("パンクしました。"));
    }
    EndOfSpin();
}

// The reach music starts at the first centre step after the right reel
// stopped on the left reel's symbol.
void Machine::CheckReachMusic()
{
    if (s_.spinR || s_.reachFlag != 1 || s_.reachShown)
        return;
    play(Cue::Reach);
    s_.reachShown = true;
}

// Called by the left reel's stop: all three reels turn together from the left
// reel's position; the first step follows in the same tick.
void Machine::StartAllRotation()
{
    s_.stopCountL = Draw(20, 10);
    s_.posC = s_.posL;
    s_.posR = s_.posL;
    s_.spinC = false;
    s_.spinR = false;
    s_.allRotation = true;
    setReelTimerInterval(500);
}

void Machine::TickAllRotation()
{
    s_.frameBlink = true;
    setReelTimerInterval(500);
    s_.hitSymbol = s_.posL;
    drawReel(Reel::Left);
    drawReel(Reel::Centre);
    drawReel(Reel::Right);
    --s_.stopCountL;
    if (s_.stopCountL == 0) {
        s_.allRotation = false;
        closeMusic();
        if (Draw(3) != 1) {
            PayJackpot();
        } else {
            // The re-lottery: a 3 s pause, then more steps without music.
            setReelTimerInterval(3000);
            s_.allRotation = true;
            s_.stopCountL = Draw(15, 5);
        }
    }
    if (!s_.reachShown) {
        play(Cue::AllRotation);
        s_.reachShown = true;
    }
}

// drawNumber 6 at the left reel's stop: the three pay-line rows show the same
// symbol at once and the six other rows vanish until the next spin starts.
void Machine::LineUpInstantly()
{
    s_.reachFlag = 0;
    s_.posC = s_.posL;
    s_.posR = s_.posL;
    s_.spinC = false;
    s_.spinR = false;
    for (int reel = 0; reel < 3; ++reel) {
        s_.rows[reel * 3 + 1].symbol = s_.posL;
        s_.rows[reel * 3].visible = false;
        s_.rows[reel * 3 + 2].visible = false;
    }
    for (Reel reel : {Reel::Left, Reel::Centre, Reel::Right})
        emit reelChanged(reel);
    s_.hitSymbol = s_.posL;
    PayJackpot();
}

// ---------------------------------------------------------------- stop buttons

void Machine::pressStop(Reel reel)
{
    Turning(s_, reel) = false;
    s_.stopShown[int(reel)] = false;
    emit controlsChanged();
    judgeSlotChanceSpin();
}

// A reel of a slot-chance spin has stopped, by its button or by running out
// its count. The stop that leaves no reel turning judges the spin: three
// equal symbols pay, anything else ends the spin.
void Machine::judgeSlotChanceSpin()
{
    play(Cue::Stop);
    if (s_.spinL || s_.spinC || s_.spinR)
        return;
    if (s_.posL == s_.posR && s_.posC == s_.posR) {
        // hitSymbol holds the centre position, one ahead of the pay line.
        s_.hitSymbol = StepBack(s_.hitSymbol);
        PayJackpot();
        return;
    }
    EndOfSpin();
    if (s_.chanceLeft == 0 && soundOn())
        BackToNormalPlay();
    s_.chanceCounter = s_.chanceLeft;
    emit amountsChanged();
}

// ---------------------------------------------------------------- payout

void Machine::PayJackpot()
{
    play(Cue::Jackpot);
    const qint64 win = JackpotWin(s_.hitSymbol, s_.bet, s_.targetSymbol, s_.targetRate);
    s_.lastWin = win;
    setMoney(s_.money + win);
    if (spinRecord_) {
        spinRecord_->symbol = s_.hitSymbol;
        spinRecord_->amount = win;
        spinRecord_->moneyAfter = s_.money;
    }
    StopFrameLamps();

    if (s_.money >= Goal) {
        goalReached_ = s_.money;
        play(Cue::Fever);
        Tell(QStringLiteral("達成おめでとうございます。\r\n今後確率を自由に変更できます。\r\n"
                            "１００＄から再スタートとなります。"));
        setMoney(100);
        unlock();
    }

    if (soundOn() && s_.chanceLeft == 0)
        BackToNormalPlay();
    if (soundOn() && s_.chanceLeft != 0) {
        // Both lamp groups blink through the slot chance.
        setNoticeTimerInterval(1000);
        s_.noticeBlink = true;
        s_.frameBlink = true;
        play(Cue::ChanceIntro);
    }
    EndOfSpin();
    s_.chanceCounter = s_.chanceLeft;
    emit amountsChanged();
}

// The slot chance is over: both lamp groups go dark and the calm tune plays.
void Machine::BackToNormalPlay()
{
    StopNoticeLamps();
    StopFrameLamps();
    play(Cue::Calm);
}

// End of a spin: covers take clicks, BET 0, menus enabled, normal pointer.
// The slot-chance counter never shows a number while no spins remain.
void Machine::EndOfSpin()
{
    if (s_.chanceLeft == 0)
        s_.chanceCounter = 0;
    s_.coversEnabled = true;
    s_.bet = 0;
    s_.menusEnabled = true;
    s_.pointer = Pointer::Default;
    emit amountsChanged();
    emit controlsChanged();
    recordSpinEnd();
}

void Machine::unlock()
{
    s_.unlocked = true;
    emit unlockedChanged();
}

// ---------------------------------------------------------------- lamps

void Machine::tickFrameLamps()
{
    if (s_.frameBlink)
        BlinkFrameLamps();
    if (s_.calmLamps && ++s_.calmTicks >= CalmLampTicks) {
        s_.calmTicks = 0;
        showCalmLamps();
    }
}

void Machine::BlinkFrameLamps()
{
    s_.frameBlinked = true;
    if (s_.framePhase == 0) {
        setFrameLamps(FrameLampLit);
        s_.framePhase = 1;
    } else {
        setFrameLamps(FrameLampDark);
        s_.framePhase = 0;
    }
}

void Machine::tickNoticeLamps()
{
    if (s_.noticeBlink)
        BlinkNoticeLamps();
}

void Machine::BlinkNoticeLamps()
{
    s_.noticeBlinked = true;
    if (s_.noticePhase == 0) {
        setNoticeLamps(NoticeLampLit);
        s_.noticePhase = 1;
    } else {
        setNoticeLamps(NoticeLampDark);
        s_.noticePhase = 0;
    }
}

// The colour a group's blinking calls for; calm lamps show it later.
void Machine::setFrameLamps(long bgr)
{
    s_.frameLampsDue = bgr;
    if (s_.calmLamps)
        return;
    s_.frameLamps = bgr;
    emit lampsChanged();
}

void Machine::setNoticeLamps(long bgr)
{
    s_.noticeLampsDue = bgr;
    if (s_.calmLamps)
        return;
    s_.noticeLamps = bgr;
    emit lampsChanged();
}

// Stops the frame lamps dark; their next blinking begins lit.
void Machine::StopFrameLamps()
{
    s_.frameBlink = false;
    setFrameLamps(FrameLampDark);
    s_.framePhase = 0;
}

// Stops the notice lamps dark. The phase is kept: notice blinking that
// follows one stopped lit begins with a dark change.
void Machine::StopNoticeLamps()
{
    s_.noticeBlink = false;
    setNoticeLamps(NoticeLampDark);
}

namespace {

// A calm lamp group's next colour: one that blinked since its last chance
// to change turns the other way, so it blinks at most twice a second;
// any other shows the colour due.
long CalmColour(long shown, long due, bool blinked, long lit, long dark)
{
    if (!blinked)
        return due;
    return shown == dark ? lit : dark;
}

} // namespace

void Machine::showCalmLamps()
{
    const long noticeLit = s_.noticeTimerMs == PremiumNoticeMs ? NoticeLampPremium : NoticeLampLit;
    const long noticeDue = s_.noticeLampsDue == NoticeLampLit ? noticeLit : s_.noticeLampsDue;
    const long frame = CalmColour(s_.frameLamps, s_.frameLampsDue, s_.frameBlink && s_.frameBlinked,
                                  FrameLampLit, FrameLampDark);
    const long notice = CalmColour(s_.noticeLamps, noticeDue, s_.noticeBlink && s_.noticeBlinked,
                                   noticeLit, NoticeLampDark);
    s_.frameBlinked = s_.noticeBlinked = false;
    if (frame == s_.frameLamps && notice == s_.noticeLamps)
        return;
    s_.frameLamps = frame;
    s_.noticeLamps = notice;
    emit lampsChanged();
}

// Switching calm lamps on leaves the lamps as they show until the grid's
// next chance to change them; switching them off shows the colours due.
void Machine::setCalmLamps(bool calm)
{
    if (calm == s_.calmLamps)
        return;
    s_.calmLamps = calm;
    s_.calmTicks = 0;
    s_.frameBlinked = s_.noticeBlinked = false;
    emit calmLampsChanged();
    if (calm || (s_.frameLamps == s_.frameLampsDue && s_.noticeLamps == s_.noticeLampsDue))
        return;
    s_.frameLamps = s_.frameLampsDue;
    s_.noticeLamps = s_.noticeLampsDue;
    emit lampsChanged();
}

// ---------------------------------------------------------------- menus

// $100 when broke: refused three times in ten, each refusal with its own excuse.
void Machine::borrow100()
{
    if (s_.money != 0) {
        Tell(QStringLiteral("どうして？お金もってるじゃない！"));
        return;
    }
    switch (Draw(10)) {
    case 1: Tell(QStringLiteral("僕も貸す金ないよ.")); break;
    case 2: Tell(QStringLiteral("貸せないよ.")); break;
    case 3: Tell(QStringLiteral("そんな簡単に貸せないよ.")); break;
    default:
        setMoney(100);
        recordMoney(PlayKind::Loan, 100);
        break;
    }
}

// $1000 when broke: granted once in fifty.
void Machine::borrow1000()
{
    if (s_.money != 0) {
        Tell(QStringLiteral("どうして？お金もってるじゃない！"));
        return;
    }
    if (Draw(50) == 1) {
        setMoney(s_.money + 1000);
        recordMoney(PlayKind::Loan, 1000);
    } else
        Tell(QStringLiteral("ちょっと！そんな大金ないよ。"));
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
    double n = WholeNumber16(answer).value_or(std::nearbyint(current));
    if (n < 6)
        n = 300;
    if (n > 5000)
        n = 5000;
    return int(n);
}

} // namespace

void Machine::changeProbability()
{
    const QString current = rt::DecimalText(s_.denominator);
    const QString prompt = QStringLiteral("確率の分母を入力してください。") + QStringLiteral("\r\n")
        + QStringLiteral("通常の確率分母は 300 です。") + QStringLiteral("\r\n")
        + QStringLiteral("大当り値が 6 個ある為 6 以下の数値は入力できません。");
    QString answer = InputBox(prompt, QStringLiteral("確率変動"), current);
    if (answer.isEmpty())
        answer = current;
    const int n = ChooseDenominator(answer, s_.denominator);
    Tell(QStringLiteral("確率を") + rt::DecimalText(n) + QStringLiteral("分の6に変更しました。"));
    unlock();
    chosenDenominator_ = n;
    s_.denominator = n;
}

void Machine::toggleSound()
{
    if (s_.sound != SoundSwitch::Off) {
        s_.sound = SoundSwitch::Off;
        emit soundSwitchChanged();
        emit soundStopped();
    } else {
        s_.sound = SoundSwitch::On;
        emit soundSwitchChanged();
    }
}

// ---------------------------------------------------------------- timers, sound, amounts

void Machine::setReelTimerInterval(int ms)
{
    s_.reelTimerMs = ms;
    emit reelTimerIntervalSet(ms);
}

void Machine::setReelTimerEnabled(bool enabled)
{
    s_.reelTimerEnabled = enabled;
    emit reelTimerEnabledSet(enabled);
}

void Machine::setNoticeTimerInterval(int ms)
{
    s_.noticeTimerMs = ms;
    emit noticeTimerIntervalSet(ms);
}

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

// ---------------------------------------------------------------- history

void Machine::recordMoney(PlayKind kind, qint64 amount)
{
    PlayRecord record;
    record.kind = kind;
    record.amount = amount;
    record.moneyAfter = s_.money;
    if (kind == PlayKind::Target)
        record.targetSymbol = s_.targetSymbol;
    emit played(record);
}

namespace {

ReachAction ReachShown(const MachineState& s)
{
    if (s.drawNumber >= 1 && s.drawNumber <= 6)
        return ReachAction(int(ReachAction::AllRotation) + int(s.drawNumber) - 1);
    return s.reachFlag == 1 ? ReachAction::Missed : ReachAction::None;
}

NoticeLamps NoticeShown(const MachineState& s)
{
    if (!s.noticeOn)
        return NoticeLamps::None;
    return s.noticeTimerMs == PremiumNoticeMs ? NoticeLamps::Premium : NoticeLamps::Normal;
}

} // namespace

// What the spin start decided, kept until the spin finishes.
void Machine::recordSpinStart()
{
    PlayRecord record;
    record.bet = s_.bet;
    record.denominator = s_.denominator;
    record.jackpot = s_.drawNumber >= 1 && s_.drawNumber <= 6;
    record.reach = ReachShown(s_);
    record.noticeLamps = NoticeShown(s_);
    record.noticeSound = noticeChimeDrawn_;
    record.slotChance = s_.slotChanceSpin;
    record.targetSymbol = s_.targetSymbol;
    record.targetRate = s_.targetRate;
    spinRecord_ = record;
}

// The spin is over: its entry, then the goal's reset when its jackpot reached it.
void Machine::recordSpinEnd()
{
    if (!spinRecord_)
        return;
    PlayRecord spin = *spinRecord_;
    spinRecord_.reset();
    if (spin.symbol < 0)
        spin.moneyAfter = s_.money;
    emit played(spin);
    if (const auto reached = std::exchange(goalReached_, std::nullopt)) {
        PlayRecord goal;
        goal.kind = PlayKind::Goal;
        goal.amount = s_.money - *reached;
        goal.moneyAfter = s_.money;
        emit played(goal);
    }
}

void Machine::setMoney(qint64 money)
{
    s_.money = money;
    emit amountsChanged();
}

} // namespace game
