// SPDX-License-Identifier: MIT
// An exact rational number for the machine's math: no sampling, no rounding
// until the numbers are printed.
#pragma once

#include <stdexcept>
#include <string>

namespace zmath {

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
        if (b.num_ == 0)
            return a;
        if (a.num_ == 0)
            return b;
        if (a.den_ == b.den_)
            return Fraction(add(a.num_, b.num_), a.den_);
        const Int g = gcd(a.den_, b.den_);
        const Int da = exactDiv(b.den_, g); // a's factor
        const Int db = exactDiv(a.den_, g); // b's factor
        return Fraction(add(mul(a.num_, da), mul(b.num_, db)), mul(a.den_, da));
    }
    friend Fraction operator-(const Fraction& a, const Fraction& b) { return a + Fraction(-b.num_, b.den_); }
    friend Fraction operator*(const Fraction& a, const Fraction& b)
    {
        if (a.num_ == 0 || b.num_ == 0)
            return Fraction();
        // Cross-reduce first to keep the parts small.
        const Int g1 = gcd(abs(a.num_), b.den_);
        const Int g2 = gcd(abs(b.num_), a.den_);
        return Fraction(mul(exactDiv(a.num_, g1), exactDiv(b.num_, g2)),
                        mul(exactDiv(a.den_, g2), exactDiv(b.den_, g1)));
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

    // Whole-number arithmetic that reports overflow rather than wrapping.
    static Int abs(Int v) { return v < 0 ? -v : v; }
    // For a, b >= 0. The parts are mostly small: their remainders are taken
    // in 64 bits as soon as both fit.
    static Int gcd(Int a, Int b)
    {
        constexpr Int Small = Int(1) << 63;
        while (b != 0 && (a >= Small || b >= Small)) {
            const Int t = a % b;
            a = b;
            b = t;
        }
        auto x = static_cast<unsigned long long>(a), y = static_cast<unsigned long long>(b);
        while (y != 0) {
            const auto t = x % y;
            x = y;
            y = t;
        }
        return Int(x);
    }
    // a / b for a divisor of a.
    static Int exactDiv(Int a, Int b)
    {
        constexpr Int Small = Int(1) << 62;
        if (a > -Small && a < Small && b < Small)
            return Int(static_cast<long long>(a) / static_cast<long long>(b));
        return a / b;
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

private:
    Int num_ = 0;
    Int den_ = 1;

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
            num_ = exactDiv(num_, g);
            den_ = exactDiv(den_, g);
        }
    }
};

} // namespace zmath
