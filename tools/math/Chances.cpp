// SPDX-License-Identifier: MIT
#include "tools/math/Chances.h"

#include <stdexcept>

namespace zmath {

namespace {

using Int = Fraction::Int;

// Denominators above this are reduced, to keep room for the next products.
constexpr Int ReduceAbove = Int(1) << 62;

} // namespace

Chances::Chances(const std::vector<Fraction>& chances) : num_(chances.size())
{
    for (std::size_t i = 0; i < chances.size(); ++i)
        add(i, chances[i]);
}

std::vector<Fraction> Chances::fractions() const
{
    std::vector<Fraction> chances;
    chances.reserve(num_.size());
    for (std::size_t i = 0; i < num_.size(); ++i)
        chances.push_back((*this)[i]);
    return chances;
}

Fraction Chances::total() const
{
    Int sum = 0;
    for (const Int n : num_)
        sum = Fraction::add(sum, n);
    return Fraction(sum, den_);
}

void Chances::add(std::size_t outcome, const Fraction& weight)
{
    if (weight.num() == 0)
        return;
    const Int g = Fraction::gcd(den_, weight.den());
    widen(Fraction::exactDiv(weight.den(), g));
    num_[outcome] = Fraction::add(num_[outcome], Fraction::mul(weight.num(), Fraction::exactDiv(den_, weight.den())));
    if (den_ > ReduceAbove)
        reduce();
}

void Chances::addScaled(const Fraction& weight, const Chances& other)
{
    if (weight.num() == 0)
        return;
    if (other.size() != size())
        throw std::logic_error("chances of different outcomes added");
    // The term for outcome i is weight.num * other.num_[i] / termDen.
    const Int termDen = Fraction::mul(weight.den(), other.den_);
    const Int g = Fraction::gcd(den_, termDen);
    widen(Fraction::exactDiv(termDen, g));
    const Int termScale = Fraction::mul(weight.num(), Fraction::exactDiv(den_, termDen));
    for (std::size_t i = 0; i < num_.size(); ++i)
        if (other.num_[i] != 0)
            num_[i] = Fraction::add(num_[i], Fraction::mul(termScale, other.num_[i]));
    if (den_ > ReduceAbove)
        reduce();
}

void Chances::scale(const Fraction& factor)
{
    // Cancel first so that the products stay as small as the result.
    reduce();
    Int up = factor.num(), down = factor.den();
    const Int g1 = Fraction::gcd(den_, up < 0 ? -up : up);
    if (g1 > 1) {
        den_ = Fraction::exactDiv(den_, g1);
        up = Fraction::exactDiv(up, g1);
    }
    Int g2 = down;
    for (const Int n : num_)
        g2 = Fraction::gcd(n < 0 ? -n : n, g2);
    if (g2 > 1) {
        for (Int& n : num_)
            n = Fraction::exactDiv(n, g2);
        down = Fraction::exactDiv(down, g2);
    }
    for (Int& n : num_)
        n = Fraction::mul(n, up);
    den_ = Fraction::mul(den_, down);
    if (up == 0)
        den_ = 1;
}

void Chances::widen(Int factor)
{
    if (factor == 1)
        return;
    for (Int& n : num_)
        n = Fraction::mul(n, factor);
    den_ = Fraction::mul(den_, factor);
}

void Chances::reduce()
{
    Int g = den_;
    for (const Int n : num_) {
        if (g == 1)
            return;
        g = Fraction::gcd(n < 0 ? -n : n, g);
    }
    if (g <= 1)
        return;
    for (Int& n : num_)
        n = Fraction::exactDiv(n, g);
    den_ = Fraction::exactDiv(den_, g);
}

} // namespace zmath
