// SPDX-License-Identifier: MIT
// The chances of the outcomes of a spin, exact.
#pragma once

#include "tools/math/Fraction.h"

#include <vector>

namespace zmath {

// Kept as whole numbers over one common denominator: adding a scaled set of
// chances to another costs a few multiplications per outcome instead of
// reducing a fraction for each. Every step is exact; overflow is reported.
class Chances {
public:
    using Int = Fraction::Int;

    explicit Chances(std::size_t outcomes = 0) : num_(outcomes) {}
    explicit Chances(const std::vector<Fraction>& chances);
    std::vector<Fraction> fractions() const;

    std::size_t size() const { return num_.size(); }
    Fraction operator[](std::size_t outcome) const { return Fraction(num_[outcome], den_); }
    Fraction total() const;

    // += weight at one outcome
    void add(std::size_t outcome, const Fraction& weight);
    // += weight * other
    void addScaled(const Fraction& weight, const Chances& other);
    // *= factor
    void scale(const Fraction& factor);

private:
    // Brings the common denominator to a new multiple of itself.
    void widen(Int factor);
    void reduce();

    std::vector<Int> num_;
    Int den_ = 1;
};

} // namespace zmath
