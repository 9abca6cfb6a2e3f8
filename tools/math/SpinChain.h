// SPDX-License-Identifier: MIT
// Whole spins of the real machine, every branch of their draws walked, as a
// chain of the states the machine rests in between two reel ticks.
#pragma once

#include "game/Machine.h"
#include "tools/math/Chances.h"
#include "tools/math/DrawWalker.h"
#include "tools/math/Fraction.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zmath {

// The bytes of a state with its padding cleared: equal states, equal keys.
using StateKey = std::array<char, sizeof(game::MachineState)>;
StateKey KeyOf(const game::MachineState& state);
struct StateKeyHash {
    std::size_t operator()(const StateKey& key) const
    {
        return std::hash<std::string_view>()(std::string_view(key.data(), key.size()));
    }
};

// Plays a spin from Start to the end of its reel ticks for every combination
// of its draws and adds up the chance of each outcome of the finished spin.
//
// The tree of draws need not be finite: the all-rotation reach may draw more
// steps again and again. So the walk goes tick by tick, and the states in
// which the next tick draws are the nodes of a chain whose edges are that
// tick's outcomes; a state met again is the same node. The chances are found
// in one depth-first pass (Tarjan's strongly connected components), solving
// the small linear system of each cycle exactly.
class SpinChain {
public:
    // `outcome` names a finished spin by an index below `outcomeCount`.
    SpinChain(int outcomeCount, std::function<int(const game::MachineState&)> outcome,
              DrawWalker::Lottery lottery = DrawWalker::Lottery::Everything);

    // The chance of each outcome when Start is pressed in state `from`.
    Chances spin(const game::MachineState& from);

private:
    struct Successor {
        Fraction chance;
        game::MachineState state;
        bool settled = false;
    };
    using Successors = std::vector<Successor>;
    struct Node {
        Chances settled;                              // finished spins reached from here
        std::vector<std::pair<Fraction, int>> edges; // other nodes reached from here
        Chances value;                                // once solved
        bool solved = false;
        int index = 0, low = 0;
    };
    // Where a state leads: a finished spin's outcome or a node.
    struct Next {
        int outcome = -1;
        int node = -1;
    };

    Successors walk(const game::MachineState& from, const std::function<void()>& step);
    void tickReels();
    Next follow(const Successor& start);
    int visit(game::MachineState state);
    void solve(const std::vector<int>& component);

    int outcomeCount_;
    std::function<int(const game::MachineState&)> outcome_;
    game::Machine machine_{game::Clock::Drive::ByHand};
    DrawWalker walker_;
    std::vector<Node> nodes_;
    std::unordered_map<StateKey, int, StateKeyHash> known_;
    std::vector<int> stack_;
    std::unordered_map<std::string, std::vector<Chances>> solved_; // by the system solved
    int counter_ = 0;
    game::MachineState before_; // the state before the tick being probed
};

} // namespace zmath
