// SPDX-License-Identifier: MIT
#include "tools/math/MachineMath.h"

#include "game/Machine.h"
#include "game/Payout.h"
#include "game/Prompts.h"
#include "tools/math/DrawWalker.h"
#include "tools/math/SpinChain.h"

#include <stdexcept>
#include <vector>

namespace zmath {

namespace {

// Every state a step of the machine can end in, with its chance.
std::vector<std::pair<Fraction, game::MachineState>> Outcomes(game::Machine& machine, const std::function<void()>& step)
{
    std::vector<std::pair<Fraction, game::MachineState>> outcomes;
    DrawWalker walker;
    walker.walk(step, [&](const Fraction& chance) { outcomes.emplace_back(chance, machine.state()); });
    return outcomes;
}

// The one state a step without draws leaves.
game::MachineState OnlyOutcome(game::Machine& machine, const std::function<void()>& step)
{
    const auto outcomes = Outcomes(machine, step);
    if (outcomes.size() != 1)
        throw std::logic_error("a step that was expected to draw nothing drew");
    return outcomes.front().second;
}

game::MachineState StartedUp(game::Machine& machine, qint64 money, int denominator)
{
    game::Machine::StartValues values;
    values.money = money;
    values.sound = game::SoundSwitch::On;
    values.denominator = denominator;
    return OnlyOutcome(machine, [&] { machine.startUp(values); });
}

// The state after a hit at cover A, from `from`.
game::MachineState AfterCoverHit(game::Machine& machine, const game::MachineState& from)
{
    for (const auto& [chance, state] : Outcomes(machine, [&] {
             machine.restore(from);
             machine.pickCover(0);
         })) {
        if (state.bet == from.bet + 1)
            return state;
    }
    throw std::logic_error("no cover click hits");
}

// Answers the target dialog with one symbol and every other prompt with its default.
class TargetAnswer : public game::Prompter {
public:
    explicit TargetAnswer(int symbol) : symbol_(symbol) { game::installPrompter(this); }
    ~TargetAnswer() override { game::installPrompter(nullptr); }
    void tell(const game::Notice&) override {}
    int askTarget() override { return symbol_; }
    QString askDenominator(const QString&) override { return QString(); }
    game::WitsChoice askWits() override { return game::WitsChoice::Closed; }

private:
    int symbol_;
};

// The index of a finished spin's outcome: the symbol it paid, or 10 for none.
// A spin at BET 1 pays at least $100.
constexpr int NoWin = 10;
int PaidSymbol(const game::MachineState& s)
{
    return s.lastWin > 0 ? s.centreMark : NoWin;
}

} // namespace

game::MachineState ReadyToSpin(int denominator)
{
    game::Machine machine{game::Clock::Drive::ByHand};
    return AfterCoverHit(machine, StartedUp(machine, 1000, denominator));
}

SpinOdds EnumerateSpinStart(int denominator)
{
    const game::MachineState ready = ReadyToSpin(denominator);
    game::Machine machine{game::Clock::Drive::ByHand};
    bool noticeCue = false;
    QObject::connect(&machine, &game::Machine::cue, [&](game::Cue cue) { noticeCue |= cue == game::Cue::Notice; });

    SpinOdds o;
    Fraction unshown; // notices the tables have no row for
    DrawWalker walker;
    walker.walk([&] {
        machine.restore(ready);
        noticeCue = false;
        machine.startSpin();
    }, [&](const Fraction& w) {
        const game::MachineState& s = machine.state();
        const bool jackpot = s.chanceLeft == game::ChanceSpins;
        const bool premium = s.noticeOn && s.noticePaceMs == game::PremiumNoticeMs;
        const bool lamps = s.noticeOn && s.noticePaceMs == 500;
        const bool sound = noticeCue;
        const bool any = premium || lamps || sound;
        if (premium) o.premiumLamps += w;
        if (lamps) o.normalLamps += w;
        if (sound) o.noticeSound += w;
        if (any) o.anyNotice += w;
        if (jackpot) {
            if (s.drawNumber < 1 || s.drawNumber > 6)
                throw std::logic_error("a jackpot spin with no reach action");
            o.jackpot += w;
            o.action[std::size_t(s.drawNumber)] += w;
            if (premium) o.premiumLampsJackpot += w;
            if (lamps) o.normalLampsJackpot += w;
            if (sound) o.noticeSoundJackpot += w;
            if (any) o.anyNoticeJackpot += w;
            if (premium) (sound ? unshown : o.jpPremium) += w;
            else if (lamps) (sound ? o.jpLampsAndSound : unshown) += w;
            else (sound ? o.jpSoundOnly : o.jpNone) += w;
        } else if (s.showsReach) {
            o.missedReach += w;
            if (premium) unshown += w;
            else if (lamps) (sound ? o.mrBoth : o.mrLamps) += w;
            else (sound ? o.mrSound : o.mrNone) += w;
        }
    });
    // The tables show these as "never": make sure they are.
    if (!(unshown == Fraction(0)))
        throw std::logic_error("a notice the tables have no row for");
    // The breakdowns within a kind of spin are conditional chances.
    for (Fraction* f : {&o.jpPremium, &o.jpLampsAndSound, &o.jpSoundOnly, &o.jpNone})
        *f = *f / o.jackpot;
    if (!(o.missedReach == Fraction(0)))
        for (Fraction* f : {&o.mrSound, &o.mrLamps, &o.mrBoth, &o.mrNone})
            *f = *f / o.missedReach;
    return o;
}

CoverOdds EnumerateCoverClick(int cover)
{
    game::Machine machine{game::Clock::Drive::ByHand};
    const game::MachineState started = StartedUp(machine, 1000, 300);
    CoverOdds odds;
    for (const auto& [chance, state] : Outcomes(machine, [&] {
             machine.restore(started);
             machine.pickCover(cover);
         })) {
        if (state.bet > started.bet)
            odds.hit += chance;
        odds.pricePerClick += chance * Fraction(started.money - state.money);
    }
    return odds;
}

TargetPurchase BuyTarget(int symbol)
{
    // A cover hit with enough money offers the target; its price is what the
    // hit costs beyond the same hit without a target.
    game::Machine machine{game::Clock::Drive::ByHand};
    const game::MachineState rich = StartedUp(machine, 2 * game::TargetOfferAbove, 300);
    auto hitAnswering = [&](int answer) {
        TargetAnswer prompter(answer);
        return AfterCoverHit(machine, rich);
    };
    const game::MachineState none = hitAnswering(0);
    const game::MachineState bought = hitAnswering(symbol);
    return {bought.targetSymbol, bought.targetRate, none.money - bought.money};
}

SlotChanceOdds EnumerateSlotChanceSpin()
{
    SlotChanceOdds s;
    const Fraction each(1, 1000);
    for (int l = 0; l < 10; ++l)
        for (int c = 0; c < 10; ++c)
            for (int r = 0; r < 10; ++r)
                if (l == c && c == r) {
                    s.lineUp += each;
                    s.symbol[std::size_t(l)] += each;
                }
    for (auto& p : s.symbol)
        p = p / s.lineUp;
    return s;
}

Distribution JackpotSymbol(const game::MachineState& from)
{
    SpinChain jackpotSpins(NoWin + 1, PaidSymbol, DrawWalker::Lottery::JackpotsOnly);
    const Chances chances = jackpotSpins.spin(from);
    const Fraction total = chances.total();
    Distribution d;
    for (int k = 0; k < 10; ++k)
        d[std::size_t(k)] = chances[std::size_t(k)] / total;
    return d;
}

JackpotSymbols EnumerateJackpotSymbols()
{
    const game::MachineState ready = ReadyToSpin();
    JackpotSymbols symbols;
    for (int position = 0; position < 10; ++position) {
        game::MachineState from = ready;
        from.reel(game::Reel::Left).position = position;
        const Distribution atPosition = JackpotSymbol(from);
        for (int k = 0; k < 10; ++k)
            symbols.longRun[std::size_t(k)] += atPosition[std::size_t(k)] * Fraction(1, 10);
        if (position == ready.reel(game::Reel::Left).position)
            symbols.firstSpin = atPosition;
    }
    return symbols;
}

Fraction MeanWin(const Distribution& symbol, int bet, const TargetPurchase& target)
{
    Fraction mean;
    for (int k = 0; k < 10; ++k)
        mean += symbol[std::size_t(k)] * Fraction(game::JackpotWin(k, bet, target.symbol, target.rate));
    return mean;
}

// ---------------------------------------------------------------- MachineMath

const SpinOdds& MachineMath::spinOdds(int denominator)
{
    auto at = spinOdds_.find(denominator);
    if (at == spinOdds_.end())
        at = spinOdds_.emplace(denominator, EnumerateSpinStart(denominator)).first;
    return at->second;
}

const CoverOdds& MachineMath::covers()
{
    if (!covers_)
        covers_ = EnumerateCoverClick();
    return *covers_;
}

const JackpotSymbols& MachineMath::jackpotSymbols()
{
    if (!jackpotSymbols_)
        jackpotSymbols_ = EnumerateJackpotSymbols();
    return *jackpotSymbols_;
}

const SlotChanceOdds& MachineMath::slotChance()
{
    if (!slotChance_)
        slotChance_ = EnumerateSlotChanceSpin();
    return *slotChance_;
}

const TargetPurchase& MachineMath::target(int symbol)
{
    auto at = targets_.find(symbol);
    if (at == targets_.end())
        at = targets_.emplace(symbol, symbol == 0 ? TargetPurchase{} : BuyTarget(symbol)).first;
    return at->second;
}

Return MachineMath::normalSpin(int denominator, int bet, int targetSymbol)
{
    const TargetPurchase& bought = target(targetSymbol);
    return {covers().costPerBetPoint() * Fraction(bet) + Fraction(bought.price),
            spinOdds(denominator).jackpot * MeanWin(jackpotSymbols().longRun, bet, bought)};
}

Return MachineMath::slotChanceSpin(int bet)
{
    return {covers().costPerBetPoint() * Fraction(bet), slotChance().lineUp * MeanWin(slotChance().symbol, bet)};
}

Return MachineMath::wholeGame(int denominator, int bet, int targetSymbol)
{
    const Return normal = normalSpin(denominator, bet, targetSymbol);
    const Return slot = slotChanceSpin(bet);
    const Fraction followers = spinOdds(denominator).jackpot * Fraction(game::ChanceSpins);
    return {normal.cost + followers * slot.cost, normal.win + followers * slot.win};
}

} // namespace zmath
