// SPDX-License-Identifier: MIT
// Auto play: the machine played for the player, through the very methods a
// player's clicks call, so that every spin it plays is decided, paid and
// recorded exactly as one played by hand. Its hand clicks covers until a hit,
// presses Start and, in a slot chance, each STOP button, each after a short
// pause of its own. The pauses come from a random generator of its own:
// auto play never draws from the game's random numbers, so the spins draw
// what the same presses by hand would draw. It keeps its time on the
// machine's clock (TimerId::AutoPlay), so fast play hurries it too and tests
// step it by hand. It hands the machine back when a limit the player set is
// reached, when the money no longer buys a cover, or when the window says
// the player took over (a key, a click, a prompt opening).
#pragma once

#include "game/Machine.h"

#include <QObject>

#include <optional>
#include <random>

namespace game {

// When auto play hands the machine back by itself. Every limit set applies;
// the first one reached ends the play.
struct AutoPlayLimits {
    std::optional<int> spins;         // after this many spins
    bool jackpot = false;             // after a spin that paid a jackpot
    bool chanceEnd = false;           // after the last spin of a slot chance
    std::optional<qint64> moneyBelow; // once the money is below this
    std::optional<qint64> moneyAtLeast; // once the money is this or more
    bool operator==(const AutoPlayLimits&) const = default;
};

class AutoPlay : public QObject {
    Q_OBJECT
public:
    // What the hand does next: a cover (0..3), Start, a STOP button (reel
    // 0..2); Wait while the reels turn on their own; None when nothing can
    // be played any more (the money does not buy a cover).
    enum class Press { None, Wait, Cover, Start, Stop };
    struct Move {
        Press press = Press::None;
        int index = 0;
        bool operator==(const Move&) const = default;
    };
    // Why auto play ended.
    enum class Ending { Player, Broke, Spins, Jackpot, ChanceEnd, MoneyBelow, MoneyAtLeast };

    // `seed` seeds the hand's own generator: its covers and its pauses.
    AutoPlay(Machine& machine, quint32 seed, QObject* parent = nullptr);

    // Starts playing under the limits; a limit already reached ends it at once.
    void start(const AutoPlayLimits& limits);
    // Hands the machine back as it is; nothing when not playing.
    void stop(Ending why = Ending::Player);
    bool running() const { return running_; }
    const AutoPlayLimits& limits() const { return limits_; }
    int spinsPlayed() const { return spinsPlayed_; }
    // The spins still to play under a spin limit; none without one.
    std::optional<int> spinsLeft() const;

    // The rule of the hand: what a player playing on would press now. The
    // cover is the one the hand picks.
    static Move NextMove(const MachineState& state, int cover);
    // The pause before a press, in milliseconds at the normal pace, for a
    // uniform `share` in [0, 1].
    static int PauseMs(Press press, double share);

signals:
    void runningChanged(bool running);
    // The spins still to play under a spin limit changed, or the limit did.
    void spinsLeftChanged();
    void ended(game::AutoPlay::Ending why);
    // Each press, as the hand makes it.
    void pressed(game::AutoPlay::Move move);

private:
    void handTick();
    void plan();
    void carryOut(const Move& move);
    void spinEnded();
    void checkMoney(qint64 money);
    void wait(int ms);

    Machine& machine_;
    std::mt19937 hand_;
    AutoPlayLimits limits_;
    bool running_ = false;
    bool due_ = false;        // the next tick makes the press planned
    int cover_ = 0;           // the cover the hand goes for
    int spinsPlayed_ = 0;
    bool jackpotPaid_ = false; // in the spin in progress
};

} // namespace game

Q_DECLARE_METATYPE(game::AutoPlay::Move)
Q_DECLARE_METATYPE(game::AutoPlay::Ending)
