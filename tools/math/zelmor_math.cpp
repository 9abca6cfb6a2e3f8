// SPDX-License-Identifier: MIT
// Prints the machine's odds, payouts and returns as Markdown tables, computed
// exactly by running the game's machine through every outcome of its draws
// (see MachineMath.h).
//
//   zelmor_math            the tables for D = 300 and D = 6
//   zelmor_math 300 6 50   the same for other denominators
#include "tools/math/MachineMath.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using zmath::Fraction;

namespace {

zmath::MachineMath math;

// "p/q = 0.xxxxxx", the exact value and its decimal.
std::string both(const Fraction& f, int places = 6)
{
    if (f.den() == 1)
        return f.text();
    return f.text() + " = " + f.decimal(places);
}

std::string money(const Fraction& f) { return "$" + f.decimal(f.den() == 1 ? 0 : 2); }

void row(const std::string& label, const std::vector<std::string>& cells)
{
    std::printf("| %s |", label.c_str());
    for (const auto& c : cells)
        std::printf(" %s |", c.c_str());
    std::printf("\n");
}

void header(const std::string& first, const std::vector<int>& denominators, const char* prefix = "D = ")
{
    std::printf("| %s |", first.c_str());
    for (int d : denominators)
        std::printf(" %s%d |", prefix, d);
    std::printf("\n|---|");
    for (std::size_t i = 0; i < denominators.size(); ++i)
        std::printf("---|");
    std::printf("\n");
}

void spinOdds(const std::vector<int>& ds)
{
    std::vector<zmath::SpinOdds> odds;
    for (int d : ds)
        odds.push_back(math.spinOdds(d));
    auto line = [&](const std::string& label, auto pick) {
        std::vector<std::string> cells;
        for (const auto& o : odds)
            cells.push_back(both(pick(o)));
        row(label, cells);
    };
    std::printf("### Per spin outside the slot chance\n\n");
    header("outcome", ds);
    line("jackpot spin", [](const auto& o) { return o.jackpot; });
    line("reach shown (jackpot or not)", [](const auto& o) { return o.reachShown(); });
    line("reach that misses", [](const auto& o) { return o.missedReach; });
    line("jackpot, given a reach", [](const auto& o) { return o.jackpot / o.reachShown(); });
    line("premium notice (lamps at 100 ms)", [](const auto& o) { return o.premiumLamps; });
    line("normal notice lamps (500 ms)", [](const auto& o) { return o.normalLamps; });
    line("notice sound", [](const auto& o) { return o.noticeSound; });
    line("any notice", [](const auto& o) { return o.anyNotice; });
    line("jackpot, given the premium notice", [](const auto& o) { return o.premiumLampsJackpot / o.premiumLamps; });
    line("jackpot, given normal lamps", [](const auto& o) { return o.normalLampsJackpot / o.normalLamps; });
    line("jackpot, given the notice sound", [](const auto& o) { return o.noticeSoundJackpot / o.noticeSound; });
    line("jackpot, given any notice", [](const auto& o) { return o.anyNoticeJackpot / o.anyNotice; });
    std::printf("\n");
}

void noticeBreakdown()
{
    const zmath::SpinOdds& o = math.spinOdds(300);
    std::printf("### Notices within a spin\n\n");
    std::printf("| notice | within a jackpot spin | within a reach that misses |\n|---|---|---|\n");
    row("premium lamps (100 ms), no sound", {both(o.jpPremium, 4), "never"});
    row("normal lamps (500 ms) and sound", {both(o.jpLampsAndSound, 4), both(o.mrBoth, 4)});
    row("normal lamps only", {"never", both(o.mrLamps, 4)});
    row("sound only", {both(o.jpSoundOnly, 4), both(o.mrSound, 4)});
    row("no notice", {both(o.jpNone, 4), both(o.mrNone, 4)});
    std::printf("\n");
}

void reachActions(const std::vector<int>& ds)
{
    static const char* names[] = {"", "1 all-rotation reach", "2 normal stop", "3 two-stage stop",
                                  "4 one-short stop", "5 one-past stop", "6 instant line-up"};
    std::vector<zmath::SpinOdds> odds;
    for (int d : ds)
        odds.push_back(math.spinOdds(d));
    std::printf("### Reach actions\n\n");
    std::printf("| DrawNumber, action | within a jackpot |");
    for (int d : ds)
        std::printf(" per spin, D = %d |", d);
    std::printf("\n|---|---|");
    for (std::size_t i = 0; i < ds.size(); ++i)
        std::printf("---|");
    std::printf("\n");
    for (int a = 1; a <= 6; ++a) {
        std::vector<std::string> cells{both(odds[0].action[a] / odds[0].jackpot, 4)};
        for (const auto& o : odds)
            cells.push_back(both(o.action[a]));
        row(names[a], cells);
    }
    // Re-lotteries of the all-rotation reach: one in three ends with another.
    std::printf("\nAll-rotation reach: the chance of exactly k re-lotteries is (1/3)^k x 2/3; "
                "on average 1/2 re-lottery per all-rotation reach.\n\n");
}

void symbols()
{
    const auto& steady = math.jackpotSymbols().longRun;
    const auto& first = math.jackpotSymbols().firstSpin;
    const auto& slot = math.slotChance();
    std::printf("### Jackpot symbol\n\n");
    std::printf("| symbol | jackpot spin, long run | jackpot on the first spin of a run | slot-chance line-up |\n");
    std::printf("|---|---|---|---|\n");
    for (int k = 0; k < 10; ++k)
        row(std::to_string(k), {both(steady[k], 4), both(first[k], 4), both(slot.symbol[k], 4)});
    std::printf("\n");
}

void payouts()
{
    const auto& steady = math.jackpotSymbols().longRun;
    auto mean = [&](int bet, int target) { return money(zmath::MeanWin(steady, bet, math.target(target))); };
    std::printf("### Mean payout of a jackpot\n\n");
    std::printf("| BET | no target | target 1 bought | target 5 bought | target 9 bought |\n|---|---|---|---|---|\n");
    for (int bet = 1; bet <= 10; ++bet)
        row(std::to_string(bet), {mean(bet, 0), mean(bet, 1), mean(bet, 5), mean(bet, 9)});
    std::printf("\nIn general: 1450 x BET + 300 without a target, plus 990 x k x BET with target k bought.\n\n");
}

void returns(const std::vector<int>& ds)
{
    std::printf("### Covers\n\n");
    std::printf("| quantity | value |\n|---|---|\n");
    row("chance that a cover click hits", {both(math.covers().hit, 4)});
    row("expected cost of one BET point", {money(math.covers().costPerBetPoint()) + " (four clicks of $10 on average)"});
    std::printf("\n### Expected return per dollar spent\n\n");
    std::printf("Winnings divided by the money paid at the covers (and for the target, where bought), "
                "in the long run; 1 means break-even.\n\n");
    std::printf("| play | BET 1 | BET 10 |\n|---|---|---|\n");
    auto r = [](const zmath::Return& ret) { return both(ret.perDollar(), 4); };
    for (int d : ds)
        row("spins outside the slot chance, D = " + std::to_string(d),
            {r(math.normalSpin(d, 1)), r(math.normalSpin(d, 10))});
    row("slot-chance spins alone", {r(math.slotChanceSpin(1)), r(math.slotChanceSpin(10))});
    for (int d : ds)
        row("whole game with the slot chance, D = " + std::to_string(d),
            {r(math.wholeGame(d, 1)), r(math.wholeGame(d, 10))});
    for (int d : ds)
        row("whole game, target 9 bought for $100 before every spin outside the slot chance, D = " + std::to_string(d),
            {r(math.wholeGame(d, 1, 9)), r(math.wholeGame(d, 10, 9))});
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> ds;
    for (int i = 1; i < argc; ++i) {
        const int d = std::atoi(argv[i]);
        if (d < 6) {
            std::fprintf(stderr, "zelmor_math: a denominator is a whole number of at least 6: %s\n", argv[i]);
            return 2;
        }
        ds.push_back(d);
    }
    if (ds.empty())
        ds = {300, 6};
    try {
        spinOdds(ds);
        noticeBreakdown();
        reachActions(ds);
        symbols();
        payouts();
        returns(ds);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zelmor_math: %s\n", e.what());
        return 1;
    }
    return 0;
}
