// The button pictures. Each is two square images side by side on olive:
// the drawing, and the same drawing embossed in grey for the disabled
// button. The glyphs are small enough to be designed pixel by pixel.

#include "draw.h"
#include "pictures.h"

#include <QPainter>

namespace picgen {
namespace {

// The lines of a glyph: black, and the darkest faces.
bool isLine(QRgb colour)
{
    return qGray(colour) < 40;
}

// The disabled image: the lines of the drawing turn grey, each with a
// white highlight one pixel down and to the right; everything else
// vanishes into the background.
QImage disabledImage(const QImage& normal)
{
    const int size = normal.width();
    QImage out = filledImage(size, size, pal::olive);
    const auto lined = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < size && y < size && normal.pixel(x, y) != pal::olive
            && isLine(normal.pixel(x, y));
    };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (lined(x - 1, y - 1) && !lined(x, y))
                out.setPixel(x, y, pal::white);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (lined(x, y))
                out.setPixel(x, y, pal::grey);
    return out;
}

// The normal image and its disabled image side by side.
QImage buttonPicture(const QImage& normal)
{
    const int size = normal.width();
    QImage out = filledImage(2 * size, size, pal::olive);
    QPainter painter(&out);
    painter.drawImage(0, 0, normal);
    painter.drawImage(size, 0, disabledImage(normal));
    return out;
}

} // namespace

QImage calculatorButton()
{
    QImage glyph = filledImage(16, 16, pal::olive);
    // clang-format off
    paintPixelMap(glyph, 0, 0, {
        "...kkkkkkkkkk...",
        "..kGGGGGGGGGGk..",
        "..kGkkkkkkkkGk..",
        "..kGkkckccckGk..",
        "..kGkcckkkckGk..",
        "..kGkkckccckGk..",
        "..kGkkckckkkGk..",
        "..kGkkckccckGk..",
        "..kGkkkkkkkkGk..",
        "..kGGGGGGGGGGk..",
        "..kGwwGwwGwwGk..",
        "..kGGGGGGGGGGk..",
        "..kGwwGwwGwwGk..",
        "..kGGGGGGGGGGk..",
        "..kGwwGwwGrrGk..",
        "...kkkkkkkkkk...",
    });
    // clang-format on
    return buttonPicture(glyph);
}

QImage printerButton()
{
    QImage glyph = filledImage(16, 16, pal::olive);
    // clang-format off
    paintPixelMap(glyph, 0, 0, {
        "....kkkkkkkk....",
        "....kwwwwwwk....",
        "....kwkkkkwk....",
        "....kwwwwwwk....",
        "....kwkkkwwk....",
        "..kkkwwwwwwkkk..",
        "..kskkkkkkkksk..",
        ".kwwwwwwwwwwwwk.",
        "kwsssssssssssssk",
        "kssssssssssssssk",
        "kssssssssssrrssk",
        "kGGGGGGGGGGGGGGk",
        "kGkkkkkkkkkkkkGk",
        "kGGGGGGGGGGGGGGk",
        "kkkkkkkkkkkkkkkk",
        "................",
    });
    // clang-format on
    return buttonPicture(glyph);
}

QImage exitDoorButton()
{
    QImage glyph = filledImage(18, 18, pal::olive);
    // clang-format off
    paintPixelMap(glyph, 0, 0, {
        "...kkkkkkkkkkkk...",
        "...kggggggwgggk...",
        "...kgggggggwggk...",
        "...kgwwwwwwwwgk...",
        "...kgggggggwggk...",
        "...kggggggwgggk...",
        "...kkkkkkkkkkkk...",
        ".kk...............",
        ".kRkk.kkkkkkkkkk..",
        ".kRRRkkRRRRRRRRk..",
        ".kRRRRkRyyyyyyRk..",
        ".kRRRRkRyyyyyyRk..",
        ".kyRRRkRyyyyyyRk..",
        ".kRRRRkRyyyyyyRk..",
        ".kRRRRkRyyyyyyRk..",
        ".kRRRRkRyyyyyyRk..",
        ".kRRRRkRyyyyyyRk..",
        "..kkkkkkkkkkkkkk..",
    });
    // clang-format on
    return buttonPicture(glyph);
}

QImage helpButton()
{
    QImage glyph = filledImage(18, 18, pal::olive);
    // clang-format off
    paintPixelMap(glyph, 0, 0, {
        "..................",
        "......kkkkkk......",
        ".....kttttttk.....",
        "....kttttttttk....",
        "....kttkkkkttk....",
        "....kkkk..kttk....",
        ".........kttk.....",
        "........kttk......",
        ".......kttk.......",
        ".......kttk.......",
        ".......kttk.......",
        ".......kkkk.......",
        "..................",
        ".......kkkk.......",
        ".......kttk.......",
        ".......kttk.......",
        ".......kkkk.......",
        "..................",
    });
    // clang-format on
    return buttonPicture(glyph);
}

QImage insertButton()
{
    QImage glyph = filledImage(16, 16, pal::olive);
    // clang-format off
    paintPixelMap(glyph, 0, 0, {
        "kkkkkkkkkk.krrk.",
        "kyyyyyyyyk.krrk.",
        "kywwwwwwykkkrrkk",
        "kywwwwwwykkrrrrk",
        "kywwwwwwyk.krrk.",
        "kywwwwwwyk..kk..",
        "kywwwwwkkkkkkkk.",
        "kywwwwwkwwwwwwk.",
        "kywwwwwkwkkkkwk.",
        "kywwwwwkwwwwwwk.",
        "kywwwwwkwkkkwwk.",
        "kyyyyyykwwwwwwk.",
        "kkkkkkkkwkkkkwk.",
        ".......kwwwwwwk.",
        ".......kwwwwwwk.",
        ".......kkkkkkkk.",
    });
    // clang-format on
    return buttonPicture(glyph);
}

} // namespace picgen
