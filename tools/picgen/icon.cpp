// The program's icon: a loudspeaker seen from the side, its cone opening
// upwards under a red sound wave, above the word BOX.

#include "draw.h"
#include "pictures.h"

#include <cmath>
#include <numbers>

namespace picgen {
namespace {

// A sine wave two pixels thick, drawn column by column and joined where
// neighbouring columns are more than a pixel apart.
void paintSoundWave(QImage& image, int left, int right, double middle, double amplitude,
                    double period)
{
    int previous = -1;
    for (int x = left; x <= right; ++x) {
        const double phase = 2.0 * std::numbers::pi * (x - left) / period;
        const int y = static_cast<int>(std::lround(middle - amplitude * std::sin(phase)));
        const int from = previous < 0 ? y : std::min(y, previous + 1);
        const int to = previous < 0 ? y : std::max(y, previous - 1);
        for (int row = from; row <= to; ++row) {
            image.setPixel(x, row, pal::red);
            image.setPixel(x, row + 1, pal::red);
        }
        previous = y;
    }
}

} // namespace

Icon programIcon()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 0, 0));

    paintSoundWave(image, 3, 28, 2.5, 2.0, 12.5);

    // The loudspeaker: rim, cone, magnet.
    // clang-format off
    paintPixelMap(image, 0, 7, {
        "...kkkkkkkkkkkkkkkkkkkkkkkkkk...",
        "..kyyyyyyyyyyyyyyyyyyyyyyyyyyk..",
        "..kbbbbbbbbbbbbbbbbbbbbbbbbbbk..",
        "...kkkkkkkkkkkkkkkkkkkkkkkkkk...",
        "....kGsGGGGGGGGGGGGGGGGGGGGk....",
        ".....kGsGGGGGGGGGGGGGGGGGGk.....",
        "......kGsGGGGGGGGGGGGGGGGk......",
        ".......kGsGGGGGGGGGGGGGGk.......",
        "........kGsGGGGGGGGGGGGk........",
        ".........kGGGGGGGGGGGGk.........",
        "..........kkkkkkkkkkkk..........",
        ".........kkkkkkkkkkkkkk.........",
        ".........kkkkkkkkkkkkkk.........",
        ".........kkkkkkkkkkkkkk.........",
        "..........kkkkkkkkkkkk..........",
    });
    // clang-format on

    // The word, in bold capitals.
    // clang-format off
    paintPixelMap(image, 1, 23, {
        "kkkkkkk.....kkkkk...kk....kk",
        "kk....kk...kk...kk..kk....kk",
        "kk....kk..kk.....kk..kk..kk.",
        "kk...kk...kk.....kk...kkkk..",
        "kkkkkk....kk.....kk....kk...",
        "kk...kk...kk.....kk...kkkk..",
        "kk....kk..kk.....kk..kk..kk.",
        "kk....kk...kk...kk..kk....kk",
        "kkkkkkk.....kkkkk...kk....kk",
    });
    // clang-format on

    Icon icon{image, {}};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            icon.transparent.push_back(qAlpha(image.pixel(x, y)) == 0);
    return icon;
}

} // namespace picgen
