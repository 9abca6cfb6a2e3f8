#include "tools/math/SpinChain.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace zmath {

namespace {

// A spin has settled when its reel timer stops or nothing turns any more.
bool Settled(const game::Machine& machine)
{
    return !(machine.state().reelTimerEnabled && machine.spinning());
}

// Which reels turn: a change marks a state where spins often meet.
int Turning(const game::MachineState& s)
{
    return int(s.spinL) | int(s.spinC) << 1 | int(s.spinR) << 2 | int(s.allRotation) << 3;
}

void AddScaled(Chances& into, const Fraction& weight, const Chances& values)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        if (values[i].num() != 0)
            into[i] += weight * values[i];
}

// Ticks in a row without a node before a spin counts as stuck.
constexpr int MaxQuietTicks = 1000000;

} // namespace

StateKey KeyOf(const game::MachineState& state)
{
    game::MachineState copy = state;
    __builtin_clear_padding(&copy);
    StateKey key;
    std::memcpy(key.data(), &copy, sizeof copy);
    return key;
}

SpinChain::SpinChain(int outcomeCount, std::function<int(const game::MachineState&)> outcome,
                     DrawWalker::Lottery lottery)
    : outcomeCount_(outcomeCount), outcome_(std::move(outcome)), walker_(lottery)
{
}

// Every outcome of one step from `from`, equal states merged.
void SpinChain::walk(const game::MachineState& from, void (game::Machine::*step)(), Successors& into)
{
    into.clear();
    std::unordered_map<StateKey, std::size_t, StateKeyHash> seen;
    walker_.walk([&] {
        machine_.editState() = from;
        (machine_.*step)();
    }, [&](const Fraction& chance) {
        const game::MachineState& state = machine_.state();
        if (!into.empty()) {
            if (seen.empty())
                seen.emplace(KeyOf(into.front().state), 0);
            const StateKey key = KeyOf(state);
            const auto at = seen.find(key);
            if (at != seen.end()) {
                into[at->second].chance += chance;
                return;
            }
            seen.emplace(key, into.size());
        }
        into.push_back({chance, state, Settled(machine_)});
    });
}

Chances SpinChain::spin(const game::MachineState& from)
{
    Chances chances(static_cast<std::size_t>(outcomeCount_));
    Successors started;
    walk(from, &game::Machine::startSpin, started);
    for (const Successor& successor : started) {
        const Next next = follow(successor);
        if (next.outcome >= 0)
            chances[std::size_t(next.outcome)] += successor.chance;
        else
            AddScaled(chances, successor.chance, nodes_[std::size_t(next.node)].value);
    }
    return chances;
}

// Ticks on from `start` until the spin settles or a state is a node: its
// tick draws, or the tick before it stopped or started a reel.
SpinChain::Next SpinChain::follow(const Successor& start)
{
    machine_.editState() = start.state;
    bool settled = start.settled;
    int turning = Turning(start.state);
    for (int quiet = 0; quiet < MaxQuietTicks; ++quiet) {
        if (settled) {
            const int outcome = outcome_(machine_.state());
            if (outcome < 0 || outcome >= outcomeCount_)
                throw std::logic_error("a finished spin with no outcome");
            return {outcome, -1};
        }
        if (Turning(machine_.state()) != turning)
            return {-1, visit(machine_.state())};
        turning = Turning(machine_.state());
        before_ = machine_.state();
        if (walker_.probe([this] { machine_.tickReels(); }))
            return {-1, visit(before_)};
        settled = Settled(machine_);
    }
    throw std::runtime_error("a spin that never settles");
}

int SpinChain::visit(game::MachineState state)
{
    const auto [known, added] = known_.emplace(KeyOf(state), int(nodes_.size()));
    if (!added)
        return known->second;
    const int id = known->second;
    Successors successors;
    walk(state, &game::Machine::tickReels, successors);
    nodes_.emplace_back();
    nodes_[std::size_t(id)].settled.resize(std::size_t(outcomeCount_));
    nodes_[std::size_t(id)].index = nodes_[std::size_t(id)].low = counter_++;
    stack_.push_back(id);

    for (const Successor& successor : successors) {
        const Next next = follow(successor);
        Node& node = nodes_[std::size_t(id)]; // follow() may have added nodes
        if (next.outcome >= 0) {
            node.settled[std::size_t(next.outcome)] += successor.chance;
            continue;
        }
        node.edges.emplace_back(successor.chance, next.node);
        const Node& target = nodes_[std::size_t(next.node)];
        if (!target.solved)
            node.low = std::min(node.low, target.low);
    }

    // The root of a strongly connected component solves it.
    if (nodes_[std::size_t(id)].low == nodes_[std::size_t(id)].index) {
        std::vector<int> component;
        int member;
        do {
            member = stack_.back();
            stack_.pop_back();
            component.push_back(member);
        } while (member != id);
        solve(component);
    }
    return id;
}

// Solves x_i = settled_i + sum_j chance_ij x_j for the members of one
// component; edges that leave it lead to nodes solved already.
void SpinChain::solve(const std::vector<int>& component)
{
    const std::size_t m = component.size();
    if (m == 1) {
        Node& node = nodes_[std::size_t(component.front())];
        Fraction loop;
        Chances value = std::move(node.settled);
        for (const auto& [chance, target] : node.edges) {
            if (target == component.front())
                loop += chance;
            else
                AddScaled(value, chance, nodes_[std::size_t(target)].value);
        }
        if (!(loop == Fraction(0))) {
            if (loop == Fraction(1))
                throw std::runtime_error("a state that never ends its spin");
            for (Fraction& v : value)
                v = v / (Fraction(1) - loop);
        }
        node.value = std::move(value);
        node.solved = true;
        node.edges = {};
        return;
    }

    std::unordered_map<int, std::size_t> row;
    for (std::size_t i = 0; i < m; ++i)
        row.emplace(component[i], i);
    // (I - W) X = C, with the solved nodes folded into C.
    std::vector<std::vector<Fraction>> a(m, std::vector<Fraction>(m));
    std::vector<Chances> c(m);
    for (std::size_t i = 0; i < m; ++i) {
        Node& node = nodes_[std::size_t(component[i])];
        a[i][i] = Fraction(1);
        c[i] = std::move(node.settled);
        for (const auto& [chance, target] : node.edges) {
            const auto inside = row.find(target);
            if (inside == row.end())
                AddScaled(c[i], chance, nodes_[std::size_t(target)].value);
            else
                a[i][inside->second] -= chance;
        }
    }
    // Gauss-Jordan elimination; I - W is invertible when every state ends
    // its spin with chance 1.
    for (std::size_t col = 0; col < m; ++col) {
        std::size_t pivot = col;
        while (pivot < m && a[pivot][col].num() == 0)
            ++pivot;
        if (pivot == m)
            throw std::runtime_error("a cycle of states that never ends its spin");
        std::swap(a[pivot], a[col]);
        std::swap(c[pivot], c[col]);
        const Fraction inverse = Fraction(1) / a[col][col];
        for (std::size_t j = col; j < m; ++j)
            a[col][j] *= inverse;
        for (Fraction& v : c[col])
            v *= inverse;
        for (std::size_t i = 0; i < m; ++i) {
            if (i == col || a[i][col].num() == 0)
                continue;
            const Fraction factor = a[i][col];
            for (std::size_t j = col; j < m; ++j)
                a[i][j] -= factor * a[col][j];
            AddScaled(c[i], Fraction(0) - factor, c[col]);
        }
    }
    for (std::size_t i = 0; i < m; ++i) {
        Node& node = nodes_[std::size_t(component[i])];
        node.value = std::move(c[i]);
        node.solved = true;
        node.edges = {};
    }
}

} // namespace zmath
