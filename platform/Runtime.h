// SPDX-License-Identifier: MIT
// Small runtime helpers with the meanings the game's routines rely on:
// the numeric value of a text, decimal text, Int, colours and twips.
#pragma once

#include <QRect>
#include <QString>

namespace rt {

// Numeric value of a text: skips leading blanks, reads an optional sign,
// digits, a decimal point and an exponent, and stops at the first other
// character. A text without a number in it is 0.
double Val(const QString& text);

// Whole number as plain decimal text: no exponent, separators or blanks.
QString DecimalText(double value);

// Decimal text with a leading blank for a number that is not negative.
QString SignedText(double value);

// The largest whole number not above x.
double Int(double x);

// Colours are 24-bit values in blue-green-red order (&HBBGGRR).
constexpr long RGB(int r, int g, int b) { return (long(b) << 16) | (long(g) << 8) | long(r); }
// Reads a hexadecimal colour text such as "&H0080C0FF".
long ColorFromHexText(const QString& text);

// There are 15 twips to a pixel at 96 dpi, times the window's zoom (1, 1.5,
// 2 or 3): the one rule that turns twips into pixels, rounded to the nearest.
constexpr int TwipsPerPixel = 15;
constexpr int Px(int twips, double zoom = 1.0) { return int(twips * zoom / TwipsPerPixel + 0.5); }
QRect TwipsRect(int left, int top, int width, int height, double zoom = 1.0);

} // namespace rt
