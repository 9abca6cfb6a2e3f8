// The machine's math, computed exactly.
//
// Every random decision of the game is a draw Int(Rnd * n) with n equally
// likely outcomes. The routines below walk every branch of those draws, in
// the order the game makes them, and add up the weights as exact fractions:
// no sampling, no rounding until the numbers are printed.
//
// Header-only so that the command-line tool and the test suite (which checks
// these numbers against a seeded run of the real handlers) share one copy.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <numeric>
#include <stdexcept>
#include <string>

namespace zmath {

// ---------------------------------------------------------------- Fraction

// An exact rational number held in reduced form with 128-bit parts.
// Overflow is reported as an exception rather than giving a wrong answer.
class Fraction {
public:
    using Int = __int128;

    constexpr Fraction() = default;
    Fraction(Int num, Int den = 1) : num_(num), den_(den)
    {
        if (den_ == 0)
            throw std::domain_error("fraction with denominator 0");
        normalise();
    }

    Int num() const { return num_; }
    Int den() const { return den_; }
    double toDouble() const { return double(num_) / double(den_); }

    friend Fraction operator+(const Fraction& a, const Fraction& b)
    {
        const Int g = gcd(a.den_, b.den_);
        const Int da = b.den_ / g; // a's factor
        const Int db = a.den_ / g; // b's factor
        return Fraction(add(mul(a.num_, da), mul(b.num_, db)), mul(a.den_, da));
    }
    friend Fraction operator-(const Fraction& a, const Fraction& b) { return a + Fraction(-b.num_, b.den_); }
    friend Fraction operator*(const Fraction& a, const Fraction& b)
    {
        // Cross-reduce first to keep the parts small.
        const Int g1 = gcd(abs(a.num_), b.den_);
        const Int g2 = gcd(abs(b.num_), a.den_);
        return Fraction(mul(a.num_ / (g1 ? g1 : 1), b.num_ / (g2 ? g2 : 1)),
                        mul(a.den_ / (g2 ? g2 : 1), b.den_ / (g1 ? g1 : 1)));
    }
    friend Fraction operator/(const Fraction& a, const Fraction& b)
    {
        if (b.num_ == 0)
            throw std::domain_error("division by zero");
        return a * Fraction(b.den_, b.num_);
    }
    Fraction& operator+=(const Fraction& o) { return *this = *this + o; }
    Fraction& operator-=(const Fraction& o) { return *this = *this - o; }
    Fraction& operator*=(const Fraction& o) { return *this = *this * o; }
    friend bool operator==(const Fraction& a, const Fraction& b) { return a.num_ == b.num_ && a.den_ == b.den_; }

    // "p/q", or "p" for a whole number.
    std::string text() const
    {
        return den_ == 1 ? intText(num_) : intText(num_) + "/" + intText(den_);
    }

    // Decimal text rounded half away from zero to the given number of places.
    std::string decimal(int places) const
    {
        Int scale = 1;
        for (int i = 0; i < places; ++i)
            scale = mul(scale, 10);
        const bool negative = num_ < 0;
        const Int scaled = mul(abs(num_), scale);
        Int q = scaled / den_;
        if ((scaled % den_) * 2 >= den_)
            ++q;
        std::string digits = intText(q);
        if (places > 0) {
            if (int(digits.size()) <= places)
                digits.insert(0, std::string(places + 1 - digits.size(), '0'));
            digits.insert(digits.size() - places, ".");
        }
        return (negative && q != 0 ? "-" : "") + digits;
    }

private:
    Int num_ = 0;
    Int den_ = 1;

    static Int abs(Int v) { return v < 0 ? -v : v; }
    static Int gcd(Int a, Int b)
    {
        while (b != 0) {
            const Int t = a % b;
            a = b;
            b = t;
        }
        return a;
    }
    static Int mul(Int a, Int b)
    {
        Int r;
        if (__builtin_mul_overflow(a, b, &r))
            throw std::overflow_error("fraction overflow");
        return r;
    }
    static Int add(Int a, Int b)
    {
        Int r;
        if (__builtin_add_overflow(a, b, &r))
            throw std::overflow_error("fraction overflow");
        return r;
    }
    static std::string intText(Int v)
    {
        if (v == 0)
            return "0";
        const bool negative = v < 0;
        std::string s;
        for (Int a = abs(v); a > 0; a /= 10)
            s.insert(s.begin(), char('0' + int(a % 10)));
        return negative ? "-" + s : s;
    }
    void normalise()
    {
        if (den_ < 0) {
            num_ = -num_;
            den_ = -den_;
        }
        const Int g = gcd(abs(num_), den_);
        if (g > 1) {
            num_ /= g;
            den_ /= g;
        }
    }
};

// ---------------------------------------------------------------- Draws

// Walks every outcome of one draw Int(Rnd * n): each of the n values with
// weight 1/n times the weight of the branch it is drawn in.
inline void Draw(int n, const Fraction& weight, const std::function<void(int, const Fraction&)>& next)
{
    const Fraction each = weight * Fraction(1, n);
    for (int k = 0; k < n; ++k)
        next(k, each);
}

// ---------------------------------------------------------------- Spin start

// What the spin start decides for a spin outside the slot chance, as chances
// per spin.
struct SpinOdds {
    Fraction jackpot;                   // DrawNumber 1..6
    std::array<Fraction, 7> action;     // [1..6]: each reach action by DrawNumber
    Fraction missedReach;               // ReachFlag 1 without a jackpot
    Fraction reachShown() const { return jackpot + missedReach; }
    // Notices at spin start.
    Fraction premiumLamps;              // notice lamps at 100 ms (jackpot only)
    Fraction normalLamps;               // notice lamps at 500 ms
    Fraction noticeSound;               // YOKOKU.WAV (with sound on)
    Fraction anyNotice;                 // lamps or sound or both
    // The same restricted to jackpot spins, for P(jackpot | notice).
    Fraction normalLampsJackpot, noticeSoundJackpot, anyNoticeJackpot;
    // Within a jackpot spin (x = Int(Rnd * 20)).
    Fraction jpPremium, jpLampsAndSound, jpSoundOnly, jpNone;
    // Within a reach without jackpot (y, z = Int(Rnd * 30)).
    Fraction mrSound, mrLamps, mrBoth, mrNone;
};

// Enumerates the draws of the Start button in the order it makes them:
// the three reel run lengths (which decide nothing asked here and are left
// out), ReachFlag = Int(Rnd * 3), DrawNumber = Int(D * Rnd) + 1, then the
// notice draw x = Int(Rnd * 20) of a jackpot spin, or the two draws
// y, z = Int(Rnd * 30) of a reach that will not pay.
inline SpinOdds EnumerateSpinStart(int denominator)
{
    SpinOdds o;
    const Fraction one(1);
    Draw(3, one, [&](int reachDraw, const Fraction& w1) {
        Draw(denominator, w1, [&](int d, const Fraction& w2) {
            const int drawNumber = d + 1;
            const int reachFlag = (drawNumber >= 2 && drawNumber <= 6) ? 1 : reachDraw;
            if (drawNumber <= 6) {
                o.jackpot += w2;
                o.action[drawNumber] += w2;
                Draw(20, w2, [&](int x, const Fraction& w3) {
                    const bool premium = x == 1;
                    const bool lamps = x > 15;
                    const bool sound = x > 10;
                    if (premium) o.premiumLamps += w3;
                    if (lamps) { o.normalLamps += w3; o.normalLampsJackpot += w3; }
                    if (sound) { o.noticeSound += w3; o.noticeSoundJackpot += w3; }
                    if (premium || lamps || sound) { o.anyNotice += w3; o.anyNoticeJackpot += w3; }
                    if (premium) o.jpPremium += w3;
                    else if (lamps) o.jpLampsAndSound += w3;
                    else if (sound) o.jpSoundOnly += w3;
                    else o.jpNone += w3;
                });
            } else if (reachFlag == 1) {
                o.missedReach += w2;
                Draw(30, w2, [&](int y, const Fraction& w3) {
                    Draw(30, w3, [&](int z, const Fraction& w4) {
                        const bool sound = y >= 20;
                        const bool lamps = z <= 10;
                        if (sound) o.noticeSound += w4;
                        if (lamps) o.normalLamps += w4;
                        if (sound || lamps) o.anyNotice += w4;
                        if (sound && lamps) o.mrBoth += w4;
                        else if (sound) o.mrSound += w4;
                        else if (lamps) o.mrLamps += w4;
                        else o.mrNone += w4;
                    });
                });
            }
        });
    });
    // The breakdowns within a kind of spin are conditional chances.
    for (Fraction* f : {&o.jpPremium, &o.jpLampsAndSound, &o.jpSoundOnly, &o.jpNone})
        *f = *f / o.jackpot;
    if (!(o.missedReach == Fraction(0)))
        for (Fraction* f : {&o.mrSound, &o.mrLamps, &o.mrBoth, &o.mrNone})
            *f = *f / o.missedReach;
    return o;
}

// ---------------------------------------------------------------- Covers

// One cover click costs $10 and hits when Int(Rnd * 4) equals the cover's
// hit number. Returns the chance of a hit.
inline Fraction CoverHitChance(int hitNumber = 0)
{
    Fraction hit;
    Draw(4, Fraction(1), [&](int d, const Fraction& w) {
        if (d == hitNumber)
            hit += w;
    });
    return hit;
}

// Clicks are repeated until one hits, so their number is geometric with mean
// 1 / p: the expected dollars paid for one BET point.
inline Fraction CostPerBetPoint() { return Fraction(10) / CoverHitChance(); }

// ---------------------------------------------------------------- Symbols

using Distribution = std::array<Fraction, 10>; // over symbols or positions 0..9

inline Distribution Uniform()
{
    Distribution d;
    d.fill(Fraction(1, 10));
    return d;
}

inline Distribution Point(int k)
{
    Distribution d{};
    d[((k % 10) + 10) % 10] = Fraction(1);
    return d;
}

// Distribution of a + b (mod 10) for independent a and b.
inline Distribution Convolve(const Distribution& a, const Distribution& b)
{
    Distribution r{};
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j)
            r[(i + j) % 10] += a[i] * b[j];
    return r;
}

// Int(Rnd * n) + offset, taken mod 10.
inline Distribution DrawMod10(int n, int offset)
{
    Distribution d{};
    Draw(n, Fraction(1), [&](int k, const Fraction& w) { d[(k + offset) % 10] += w; });
    return d;
}

// Steps the reels take in an all-rotation reach, mod 10: Int(Rnd * 20) + 10
// steps, then a re-lottery (Int(Rnd * 3) = 1, one time in three) adds
// Int(Rnd * 15) + 5 more, again and again. The re-lotteries make an endless
// tree, summed exactly by solving g = 2/3 [0] + 1/3 (M * g) for the
// distribution g of the steps added after the first run.
inline Distribution AllRotationSteps()
{
    const Distribution first = DrawMod10(20, 10);
    const Distribution more = DrawMod10(15, 5);
    // (I - 1/3 C) g = 2/3 e0, where C is the circulant matrix of "more".
    std::array<std::array<Fraction, 11>, 10> m{};
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j)
            m[i][j] = (i == j ? Fraction(1) : Fraction(0)) - Fraction(1, 3) * more[(i - j + 10) % 10];
        m[i][10] = i == 0 ? Fraction(2, 3) : Fraction(0);
    }
    for (int c = 0; c < 10; ++c) {
        int p = c;
        while (m[p][c] == Fraction(0))
            ++p;
        std::swap(m[p], m[c]);
        const Fraction pivot = m[c][c];
        for (int j = c; j < 11; ++j)
            m[c][j] = m[c][j] / pivot;
        for (int i = 0; i < 10; ++i) {
            if (i == c || m[i][c] == Fraction(0))
                continue;
            const Fraction f = m[i][c];
            for (int j = c; j < 11; ++j)
                m[i][j] -= f * m[c][j];
        }
    }
    Distribution g;
    for (int i = 0; i < 10; ++i)
        g[i] = m[i][10];
    return Convolve(first, g);
}

// The jackpot symbol of each reach action, given where the left reel stands
// (its position, one ahead of its pay-line symbol) when Start is pressed.
// The left reel turns Int(Rnd * 9) + 50 steps; then
//   normal, two-stage, one-short, one-past stop (2..5): the symbol is the
//     left reel's pay-line symbol, position - 1;
//   instant line-up (6): the symbol is the left reel's position;
//   all-rotation (1): the reels turn on together; the symbol is the position
//     after the last step minus one.
inline Distribution JackpotSymbol(int action, const Distribution& leftPosition)
{
    const Distribution leftStop = Convolve(leftPosition, DrawMod10(9, 50));
    switch (action) {
    case 1: return Convolve(Convolve(leftStop, AllRotationSteps()), Point(-1));
    case 6: return leftStop;
    default: return Convolve(leftStop, Point(-1));
    }
}

// Every spin moves the left reel by a number of steps drawn independently of
// where it stands (the slot chance too, for a player who stops at random), so
// in the long run its position at Start is uniform over 0..9.
inline Distribution SteadyLeftPosition() { return Uniform(); }

// The left reel's position at the first Start of a run: start-up draws the
// reels once from positions 6, 7, 8, which leaves the left reel at 7.
inline Distribution FirstSpinLeftPosition() { return Point(7); }

// Jackpot symbol over all six reach actions (each 1/6 of the jackpots).
inline Distribution JackpotSymbolAllActions(const Distribution& leftPosition)
{
    Distribution r{};
    for (int a = 1; a <= 6; ++a) {
        const Distribution s = JackpotSymbol(a, leftPosition);
        for (int k = 0; k < 10; ++k)
            r[k] += s[k] * Fraction(1, 6);
    }
    return r;
}

// ---------------------------------------------------------------- Payout

// The win for a line-up of `symbol` at BET `bet`; `target` is the bought
// target symbol (0 = none).
inline Fraction Win(int symbol, int bet, int target)
{
    Fraction win = (target != 0 && symbol == target) ? Fraction(symbol * 100 * 100 * bet)
                                                     : Fraction(symbol * 100 * bet);
    if (symbol == 0)
        win = Fraction(bet * 10000);
    if (symbol == 3 || symbol == 5 || symbol == 7)
        win += Fraction(1000);
    return win;
}

inline Fraction MeanWin(const Distribution& symbol, int bet, int target)
{
    Fraction mean;
    for (int k = 0; k < 10; ++k)
        mean += symbol[k] * Win(k, bet, target);
    return mean;
}

// ---------------------------------------------------------------- Slot chance

// The slot-chance player: each of the five spins is stopped by the three stop
// buttons at moments that leave every reel on a uniformly random symbol,
// independently. Returns the chance that the three line up (1/100) and the
// symbol's distribution (uniform).
struct SlotChanceOdds {
    Fraction lineUp;
    Distribution symbol{};
};

inline SlotChanceOdds EnumerateSlotChanceSpin()
{
    SlotChanceOdds s;
    Draw(10, Fraction(1), [&](int l, const Fraction& w1) {
        Draw(10, w1, [&](int c, const Fraction& w2) {
            Draw(10, w2, [&](int r, const Fraction& w3) {
                if (l == c && c == r) {
                    s.lineUp += w3;
                    s.symbol[l] += w3;
                }
            });
        });
    });
    for (auto& p : s.symbol)
        p = p / s.lineUp;
    return s;
}

inline constexpr int SlotChanceSpins = 5;

// ---------------------------------------------------------------- Return

// Expected winnings per dollar spent, for a player who plays every spin at
// BET `bet` (buying it at the covers) with denominator D. Ratios of
// expectations: the long-run winnings divided by the long-run spending.
struct Return {
    Fraction cost;   // expected dollars spent
    Fraction win;    // expected dollars won
    Fraction perDollar() const { return win / cost; }
};

// One spin outside the slot chance; `target` (0 = none) is bought for $100
// before every such spin.
inline Return NormalSpinReturn(int denominator, int bet, int target = 0)
{
    const SpinOdds odds = EnumerateSpinStart(denominator);
    const Fraction mean = MeanWin(JackpotSymbolAllActions(SteadyLeftPosition()), bet, target);
    return {CostPerBetPoint() * Fraction(bet) + Fraction(target ? 100 : 0), odds.jackpot * mean};
}

// One slot-chance spin.
inline Return SlotChanceSpinReturn(int bet)
{
    const SlotChanceOdds s = EnumerateSlotChanceSpin();
    return {CostPerBetPoint() * Fraction(bet), s.lineUp * MeanWin(s.symbol, bet, 0)};
}

// One spin outside the slot chance together with the five slot-chance spins
// that follow it when it is a jackpot spin.
inline Return WholeGameReturn(int denominator, int bet, int target = 0)
{
    const Return normal = NormalSpinReturn(denominator, bet, target);
    const Return slot = SlotChanceSpinReturn(bet);
    const Fraction followers = EnumerateSpinStart(denominator).jackpot * Fraction(SlotChanceSpins);
    return {normal.cost + followers * slot.cost, normal.win + followers * slot.win};
}

} // namespace zmath
