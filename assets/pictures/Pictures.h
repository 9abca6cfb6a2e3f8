// SPDX-License-Identifier: MIT
// The game's pictures, each drawn from scratch with QPainter. Every picture
// can be drawn at any size: the default is the classic file's, and the
// scaled sets for sharp display at 2x, 3x and 4x ask for their box size
// times the scale.
#pragma once

#include <QImage>

class QPainter;

namespace art {

QImage background(int scale = 1); // BACK.BMP, 500 x 312 light-blue marble, times the scale

QImage symbol(int n, int pixels = 114); // R0n.BMP, reel symbol
// The ivory reel strip behind every symbol: darker towards the top and
// bottom, as on a drum (114 x 114 design units).
void reelStrip(QPainter& p);

QImage coverCard(int pixels = 72); // COVER.BMP, face-down cover
QImage hitCard(int pixels = 72); // ATARI.BMP, card marked 当
QImage missCard(int pixels = 72); // HAZURE.BMP, card marked はずれ
QImage noTarget(int pixels = 114); // BAI01.BMP, "no target symbol chosen"

QImage startButton(int scale = 1); // START.BMP, 48 x 32 times the scale, on the key colour RGB(128,255,128)
QImage stopButton(int pixels = 32); // STOP.PNG, red octagon with alpha
QImage windowIcon(int size); // ZELMOR.PNG and the desktop icons, with alpha
QImage wisdomIcon(int pixels = 64); // CHIE.BMP, light bulb
QImage contestIcon(int pixels = 64); // KURABE.BMP, crossed swords

} // namespace art
