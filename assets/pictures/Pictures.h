// The game's pictures, each drawn from scratch with QPainter.
#pragma once

#include <QImage>

class QPainter;

namespace art {

QImage background(); // BACK.BMP, 500 x 312 light-blue marble

QImage symbol(int n); // R0n.BMP, 114 x 114 reel symbol
// The ivory reel strip behind every symbol: darker towards the top and
// bottom, as on a drum (114 x 114).
void reelStrip(QPainter& p);

QImage coverCard(); // COVER.BMP, 72 x 72 face-down cover
QImage hitCard(); // ATARI.BMP, 72 x 72 card marked 当
QImage missCard(); // HAZURE.BMP, 72 x 72 card marked はずれ
QImage noTarget(); // BAI01.BMP, 114 x 114 "no target symbol chosen"

QImage startButton(); // START.BMP, 48 x 32 on the key colour RGB(128,255,128)
QImage stopButton(); // STOP.PNG, 32 x 32 red octagon with alpha
QImage windowIcon(int size); // ZELMOR.PNG and the desktop icons, with alpha
QImage wisdomIcon(); // CHIE.BMP, 64 x 64 light bulb
QImage contestIcon(); // KURABE.BMP, 64 x 64 crossed swords

} // namespace art
