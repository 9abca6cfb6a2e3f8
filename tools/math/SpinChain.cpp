// SPDX-License-Identifier: MIT
#include "tools/math/SpinChain.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace zmath {

namespace {

// A spin has settled when its reel timer stops or nothing turns any more.
bool Settled(const game::Machine& machine)
{
    return !(machine.state().reelsRunning && machine.spinning());
}

// Solves A X = C by Gauss-Jordan elimination. Each chance is a reduced
// fraction of its own here: the elimination would make a common denominator
// grow beyond bounds.
std::vector<Chances> Solve(std::vector<std::vector<Fraction>> a, std::vector<std::vector<Fraction>> c)
{
    const std::size_t m = a.size();
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
            for (std::size_t k = 0; k < c[i].size(); ++k)
                c[i][k] -= factor * c[col][k];
        }
    }
    std::vector<Chances> x;
    for (const auto& row : c)
        x.emplace_back(row);
    return x;
}

// Ticks in a row without a node before a spin counts as stuck.
constexpr int MaxQuietTicks = 1000000;

} // namespace

// The reel timer's tick, as the machine's clock gives it.
void SpinChain::tickReels()
{
    machine_.clock().fire(game::TimerId::Reel);
}

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
    // What changed is read from the state: the signals would only cost time.
    machine_.blockSignals(true);
}

// Every outcome of one step from `from`, equal states merged.
SpinChain::Successors SpinChain::walk(const game::MachineState& from, const std::function<void()>& step)
{
    Successors into;
    std::unordered_map<StateKey, std::size_t, StateKeyHash> seen;
    StateKey lastKey{};
    std::size_t last = 0;
    walker_.walk([&] {
        machine_.restore(from);
        step();
    }, [&](const Fraction& chance) {
        const game::MachineState& state = machine_.state();
        const StateKey key = KeyOf(state);
        // Neighbouring outcomes often leave the same state.
        if (!into.empty() && key == lastKey) {
            into[last].chance += chance;
            return;
        }
        const auto [at, added] = seen.emplace(key, into.size());
        if (added)
            into.push_back({chance, state, Settled(machine_)});
        else
            into[at->second].chance += chance;
        lastKey = key;
        last = at->second;
    });
    return into;
}

Chances SpinChain::spin(const game::MachineState& from)
{
    Chances chances(static_cast<std::size_t>(outcomeCount_));
    Fraction started;
    for (const Successor& successor : walk(from, [this] { machine_.startSpin(); })) {
        started += successor.chance;
        const Next next = follow(successor);
        if (next.outcome >= 0)
            chances.add(std::size_t(next.outcome), successor.chance);
        else
            chances.addScaled(successor.chance, nodes_[std::size_t(next.node)].value);
    }
    // Exact sums lose nothing: every spin started ends in one outcome.
    if (!(chances.total() == started))
        throw std::logic_error("the chances of the outcomes do not add up to the spins started");
    return chances;
}

// Ticks on from `start` until the spin settles or reaches a state whose
// tick draws: a node.
SpinChain::Next SpinChain::follow(const Successor& start)
{
    machine_.restore(start.state);
    bool settled = start.settled;
    for (int quiet = 0; quiet < MaxQuietTicks; ++quiet) {
        if (settled) {
            const int outcome = outcome_(machine_.state());
            if (outcome < 0 || outcome >= outcomeCount_)
                throw std::logic_error("a finished spin with no outcome");
            return {outcome, -1};
        }
        before_ = machine_.state();
        if (walker_.probe([this] { tickReels(); }))
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
    const Successors successors = walk(state, [this] { tickReels(); });
    nodes_.emplace_back();
    nodes_[std::size_t(id)].settled = Chances(std::size_t(outcomeCount_));
    nodes_[std::size_t(id)].index = nodes_[std::size_t(id)].low = counter_++;
    stack_.push_back(id);

    for (const Successor& successor : successors) {
        const Next next = follow(successor);
        Node& node = nodes_[std::size_t(id)]; // follow() may have added nodes
        if (next.outcome >= 0) {
            node.settled.add(std::size_t(next.outcome), successor.chance);
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
                value.addScaled(chance, nodes_[std::size_t(target)].value);
        }
        if (!(loop == Fraction(0))) {
            if (loop == Fraction(1))
                throw std::runtime_error("a state that never ends its spin");
            value.scale(Fraction(1) / (Fraction(1) - loop));
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
    std::vector<std::vector<Fraction>> c(m);
    for (std::size_t i = 0; i < m; ++i) {
        Node& node = nodes_[std::size_t(component[i])];
        a[i][i] = Fraction(1);
        Chances outside = std::move(node.settled);
        for (const auto& [chance, target] : node.edges) {
            const auto inside = row.find(target);
            if (inside == row.end())
                outside.addScaled(chance, nodes_[std::size_t(target)].value);
            else
                a[i][inside->second] -= chance;
        }
        c[i] = outside.fractions();
    }
    // Cycles met in different spins often make the same system.
    std::string system;
    auto write = [&system](const Fraction& f) {
        const Fraction::Int parts[2] = {f.num(), f.den()};
        system.append(reinterpret_cast<const char*>(parts), sizeof parts);
    };
    for (std::size_t i = 0; i < m; ++i) {
        for (const Fraction& f : a[i])
            write(f);
        for (const Fraction& f : c[i])
            write(f);
    }
    auto& solution = solved_[system];
    if (solution.empty())
        solution = Solve(std::move(a), std::move(c));
    for (std::size_t i = 0; i < m; ++i) {
        Node& node = nodes_[std::size_t(component[i])];
        node.value = solution[i];
        node.solved = true;
        node.edges = {};
    }
}

} // namespace zmath
