#include "draw.h"

#include <QFontInfo>

#include <cstdio>
#include <cstdlib>

namespace picgen {
namespace {

QRgb letterColour(char letter)
{
    switch (letter) {
    case 'k': return pal::black;
    case 'R': return pal::maroon;
    case 'g': return pal::green;
    case 'n': return pal::navy;
    case 'p': return pal::purple;
    case 't': return pal::teal;
    case 's': return pal::silver;
    case 'G': return pal::grey;
    case 'r': return pal::red;
    case 'l': return pal::lime;
    case 'y': return pal::yellow;
    case 'b': return pal::blue;
    case 'm': return pal::fuchsia;
    case 'c': return pal::aqua;
    case 'w': return pal::white;
    default: break;
    }
    std::fprintf(stderr, "ventbox-picgen: unknown colour letter '%c' in a pixel map\n", letter);
    std::exit(1);
}

} // namespace

QImage filledImage(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void paintPixelMap(QImage& image, int left, int top, std::initializer_list<std::string_view> rows)
{
    const std::size_t width = rows.begin()->size();
    int y = top;
    for (std::string_view row : rows) {
        if (row.size() != width) {
            std::fprintf(stderr, "ventbox-picgen: pixel map row %d is %zu wide, not %zu\n", y - top,
                         row.size(), width);
            std::exit(1);
        }
        int x = left;
        for (char letter : row) {
            if (letter != '.')
                image.setPixel(x, y, letterColour(letter));
            ++x;
        }
        ++y;
    }
}

QFont pictureFont(const char* family, int pixelSize, bool bold, bool smooth)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(smooth ? QFont::PreferAntialias : QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(false);
    const QFontInfo info(font);
    if (info.family() != font.family()) {
        std::fprintf(stderr, "ventbox-picgen: font \"%s\" is not installed (got \"%s\")\n", family,
                     qPrintable(info.family()));
        std::exit(1);
    }
    return font;
}

std::uint32_t Random::next()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double Random::uniform(double low, double high)
{
    return low + (high - low) * (static_cast<double>(next()) / 4294967296.0);
}

} // namespace picgen
