// SPDX-License-Identifier: MIT
#include "game/Draws.h"

#include "platform/Runtime.h"
#include "platform/Seams.h"

#include <limits>

namespace game {

namespace {

DrawSource* installedSource = nullptr;

} // namespace

void installDrawSource(DrawSource* source)
{
    installedSource = source;
}

int Draw(int n, int offset)
{
    if (installedSource)
        return installedSource->draw(n) + offset;
    return int(rt::Int(Rnd() * n)) + offset;
}

qint64 DrawLottery(double denominator)
{
    const double draw = installedSource ? installedSource->drawLottery(denominator) : rt::Int(denominator * Rnd()) + 1;
    constexpr double Largest = double(std::numeric_limits<qint64>::max() / 2);
    if (!(draw < Largest))
        return qint64(Largest);
    return qint64(draw);
}

} // namespace game
