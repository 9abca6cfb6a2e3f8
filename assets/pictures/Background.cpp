// SPDX-License-Identifier: MIT
// The window's background: light-blue marble with soft clouding, darker blue
// veins and fine white veins, from seeded noise.
#include "Canvas.h"
#include "Pictures.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

struct Rgb {
    double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// A vein is where the turbulent stripe function crosses zero: 1 on the vein,
// falling off quickly to 0 beside it.
double vein(double stripe, double sharpness)
{
    return std::pow(1.0 - std::abs(std::sin(stripe)), sharpness);
}

} // namespace

QImage background(int scale)
{
    const int width = 500 * scale, height = 312 * scale;
    const Noise cloud(0x5eed01), warp(0x5eed02), fine(0x5eed03);
    const Rgb pale{222, 239, 252}, base{190, 222, 246}, deep{150, 193, 232};
    const Rgb veinDark{112, 160, 214}, veinLight{250, 253, 255};

    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        auto* row = image.scanLine(y);
        // The stone is the same at every scale: each pixel shows the point of
        // the 500 x 312 design under its centre.
        const double dy = (y + 0.5) / scale - 0.5;
        for (int x = 0; x < width; ++x) {
            const double dx = (x + 0.5) / scale - 0.5;
            const double u = dx / 120.0, v = dy / 120.0;
            // Soft clouding of the stone.
            const double c = 0.5 + 0.5 * cloud.fbm(u * 0.9, v * 0.9, 5);
            Rgb colour = c < 0.5 ? mix(deep, base, c * 2) : mix(base, pale, (c - 0.5) * 2);
            // Sweeping dark veins: diagonal stripes bent by smooth noise, with
            // a little turbulence for a crinkled edge. A soft halo and a
            // sharper core give them depth.
            const double bend = warp.fbm(u * 0.55, v * 0.55, 4) * 4.2 + warp.turbulence(u * 2.4, v * 2.4, 4) * 1.1;
            const double stripe = u * 1.9 + v * 1.1 + bend;
            colour = mix(colour, deep, vein(stripe, 3.0) * 0.35);
            colour = mix(colour, veinDark, vein(stripe, 16.0) * 0.55);
            // Faint hairline veins in a third direction.
            const double bend3 = cloud.fbm(u * 0.8 - 7.0, v * 0.8 + 2.0, 4) * 3.0;
            colour = mix(colour, veinDark, vein(u * 0.9 - v * 1.8 + bend3, 60.0) * 0.3);
            // Fine white veins crossing them.
            const double bend2 = fine.fbm(u * 0.7 + 5.0, v * 0.7, 4) * 3.6 + fine.turbulence(u * 3.0, v * 3.0, 3) * 0.8;
            const double light = vein(u * -1.3 + v * 2.2 + bend2, 40.0);
            colour = mix(colour, veinLight, light * 0.75);
            // A little grain so the stone does not look airbrushed.
            const double grain = fine.at(dx * 0.9, dy * 0.9) * 3.0;
            row[x * 3] = uchar(std::clamp(colour.r + grain, 0.0, 255.0));
            row[x * 3 + 1] = uchar(std::clamp(colour.g + grain, 0.0, 255.0));
            row[x * 3 + 2] = uchar(std::clamp(colour.b + grain, 0.0, 255.0));
        }
    }
    return image;
}

} // namespace art
