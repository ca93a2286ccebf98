// The committed pictures in resources/pictures, which people change with an
// image editor: each must keep the format, size, palette and transparent
// colour that the program relies on. The BMP and ICO headers are read byte
// by byte, the pixels through QImage (as the program loads them).

#include "rows.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QSet>

#include <array>
#include <cstdint>
#include <ostream>
#include <string>

namespace {

const QString picturesDir = QStringLiteral(VENTBOX_PICTURES);

constexpr QRgb olive = 0xFF808000u;
constexpr QRgb silver = 0xFFC0C0C0u;
constexpr QRgb grey = 0xFF808080u;
constexpr QRgb black = 0xFF000000u;
constexpr QRgb white = 0xFFFFFFFFu;

// The standard 16-colour palette, in its table order.
constexpr std::array<QRgb, 16> standardPalette = {
    0xFF000000u, 0xFF800000u, 0xFF008000u, 0xFF808000u, 0xFF000080u, 0xFF800080u,
    0xFF008080u, 0xFFC0C0C0u, 0xFF808080u, 0xFFFF0000u, 0xFF00FF00u, 0xFFFFFF00u,
    0xFF0000FFu, 0xFFFF00FFu, 0xFF00FFFFu, 0xFFFFFFFFu,
};

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

std::uint32_t u16(const QByteArray& bytes, qsizetype at)
{
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at]))
        | static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 1])) << 8;
}

std::uint32_t u32(const QByteArray& bytes, qsizetype at)
{
    return u16(bytes, at) | u16(bytes, at + 2) << 16;
}

// An RGBQUAD of a colour table.
QRgb tableColour(const QByteArray& bytes, qsizetype at)
{
    return qRgb(static_cast<std::uint8_t>(bytes[at + 2]), static_cast<std::uint8_t>(bytes[at + 1]),
                static_cast<std::uint8_t>(bytes[at]));
}

std::uint32_t rowBytes(std::uint32_t width, std::uint32_t bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

enum class Kind { Button, Shape, Splash, Sketch };

// Named by its file.
struct Picture : tables::Row {
    int width;
    int height;
    int bitsPerPixel;
    Kind kind;
};

// clang-format off
const Picture pictures[] = {
    {"calculator.bmp", 32, 16, 4, Kind::Button},
    {"printer.bmp", 32, 16, 4, Kind::Button},
    {"exitdoor.bmp", 36, 18, 4, Kind::Button},
    {"help.bmp", 36, 18, 4, Kind::Button},
    {"insert.bmp", 32, 16, 4, Kind::Button},
    {"circle.bmp", 79, 79, 4, Kind::Shape},
    {"rectangle.bmp", 80, 56, 4, Kind::Shape},
    {"square.bmp", 77, 63, 4, Kind::Shape},
    {"triangle.bmp", 81, 70, 4, Kind::Shape},
    {"splash.bmp", 210, 122, 8, Kind::Splash},
    {"sketch.bmp", 120, 228, 8, Kind::Sketch},
};
// clang-format on

std::string pictureName(const testing::TestParamInfo<Picture>& info)
{
    std::string name = info.param.name;
    return name.substr(0, name.find('.'));
}

QImage load(const Picture& picture)
{
    return QImage(picturesDir + QLatin1Char('/') + QLatin1String(picture.name));
}

QImage load(const char* file)
{
    return QImage(picturesDir + QLatin1Char('/') + QLatin1String(file));
}

// The distinct colours of part of an image.
QSet<QRgb> coloursIn(const QImage& image, const QRect& area)
{
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

class BmpFile : public testing::TestWithParam<Picture> { };

TEST_P(BmpFile, HeaderIsUncompressedPaletteBmp)
{
    const Picture& p = GetParam();
    const QByteArray bytes = readBytes(picturesDir + QLatin1Char('/') + QLatin1String(p.name));
    ASSERT_GE(bytes.size(), 54) << p.name;
    const std::uint32_t paletteEntries = 1u << p.bitsPerPixel;
    const std::uint32_t imageBytes =
        rowBytes(static_cast<std::uint32_t>(p.width), static_cast<std::uint32_t>(p.bitsPerPixel))
        * static_cast<std::uint32_t>(p.height);

    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(u32(bytes, 2), static_cast<std::uint32_t>(bytes.size())) << "file size field";
    EXPECT_EQ(u32(bytes, 6), 0u) << "reserved words";
    EXPECT_EQ(u32(bytes, 10), 14u + 40u + 4u * paletteEntries) << "pixel data offset";
    EXPECT_EQ(u32(bytes, 14), 40u) << "BITMAPINFOHEADER";
    EXPECT_EQ(u32(bytes, 18), static_cast<std::uint32_t>(p.width));
    EXPECT_EQ(u32(bytes, 22), static_cast<std::uint32_t>(p.height)) << "bottom-up rows";
    EXPECT_EQ(u16(bytes, 26), 1u) << "planes";
    EXPECT_EQ(u16(bytes, 28), static_cast<std::uint32_t>(p.bitsPerPixel));
    EXPECT_EQ(u32(bytes, 30), 0u) << "compression";
    EXPECT_EQ(u32(bytes, 34), imageBytes) << "image size";
    EXPECT_EQ(u32(bytes, 46), paletteEntries) << "colours used";
    EXPECT_EQ(static_cast<std::uint32_t>(bytes.size()), u32(bytes, 10) + imageBytes);
}

TEST_P(BmpFile, LoadsAtItsSize)
{
    const Picture& p = GetParam();
    const QImage image = load(p);
    ASSERT_FALSE(image.isNull()) << p.name;
    EXPECT_EQ(image.size(), QSize(p.width, p.height));
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.colorCount(), 1 << p.bitsPerPixel);
}

TEST_P(BmpFile, ShowsItsDrawingOnTheTransparentColour)
{
    const Picture& p = GetParam();
    const QImage image = load(p);
    ASSERT_FALSE(image.isNull());
    const int w = image.width(), h = image.height();

    switch (p.kind) {
    case Kind::Button: {
        // Two square images, the key colour in the bottom-left pixel, a
        // drawing in each half, and a disabled half of grey lines with
        // white highlights only.
        ASSERT_EQ(w, 2 * h);
        EXPECT_EQ(image.pixel(0, h - 1), olive);
        const QSet<QRgb> normal = coloursIn(image, QRect(0, 0, h, h));
        const QSet<QRgb> disabled = coloursIn(image, QRect(h, 0, h, h));
        EXPECT_GE(normal.size(), 3) << "normal image: olive and at least two colours";
        EXPECT_TRUE(disabled.contains(grey));
        EXPECT_TRUE(disabled.contains(white));
        EXPECT_TRUE((disabled - QSet<QRgb>{olive, grey, white}).isEmpty())
            << "the disabled image has colours other than grey and white";
        break;
    }
    case Kind::Shape: {
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
            EXPECT_EQ(image.pixel(corner), silver)
                << p.name << " corner " << corner.x() << "," << corner.y();
        const QSet<QRgb> colours = coloursIn(image, image.rect());
        EXPECT_EQ(colours, (QSet<QRgb>{silver, black})) << "black lines on silver";
        break;
    }
    case Kind::Splash: {
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
            EXPECT_EQ(image.pixel(corner), silver) << "corner " << corner.x() << "," << corner.y();
        EXPECT_TRUE(image.colorTable().contains(silver));
        EXPECT_GT(coloursIn(image, image.rect()).size(), 150);
        break;
    }
    case Kind::Sketch: {
        // Black on white, every black pixel inside the part of the picture
        // that the design sheet shows.
        const QRect drawable(QPoint(2, 12), QPoint(117, 208));
        int blackPixels = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QRgb colour = image.pixel(x, y);
                ASSERT_TRUE(colour == black || colour == white) << "pixel " << x << "," << y;
                if (colour == black) {
                    ++blackPixels;
                    EXPECT_TRUE(drawable.contains(x, y)) << "black pixel at " << x << "," << y;
                }
            }
        EXPECT_GT(blackPixels, 1000);
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(ResourcePictures, BmpFile, testing::ValuesIn(pictures), pictureName);

TEST(ResourcePictures, SixteenColourFilesUseTheStandardPalette)
{
    for (const Picture& p : pictures) {
        if (p.bitsPerPixel != 4)
            continue;
        SCOPED_TRACE(p.name);
        const QByteArray bytes = readBytes(picturesDir + QLatin1Char('/') + QLatin1String(p.name));
        ASSERT_GE(bytes.size(), 54 + 64);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(tableColour(bytes, 54 + 4 * i), standardPalette[static_cast<std::size_t>(i)])
                << "entry " << i;
    }
}

// The word runs as a rainbow: violet at its left end, blue at its right.
TEST(ResourcePictures, SplashRainbowRunsFromVioletToBlue)
{
    const QImage image = load("splash.bmp");
    ASSERT_FALSE(image.isNull());
    // The strongest colours of a band of columns are the letters' paint.
    const auto meanOfLetters = [&](int left, int right) {
        double r = 0, g = 0, b = 0;
        int count = 0;
        for (int y = 30; y < 92; ++y)
            for (int x = left; x <= right; ++x) {
                const QColor colour(image.pixel(x, y));
                if (colour.hsvSaturation() > 150 && colour.value() > 120) {
                    r += colour.red();
                    g += colour.green();
                    b += colour.blue();
                    ++count;
                }
            }
        EXPECT_GT(count, 20) << "letters between columns " << left << " and " << right;
        return std::array<double, 3>{r / count, g / count, b / count};
    };
    const auto left = meanOfLetters(5, 25);
    const auto middle = meanOfLetters(95, 115);
    const auto right = meanOfLetters(185, 205);
    EXPECT_GT(left[2], left[1]) << "violet: more blue than green";
    EXPECT_GT(left[0], left[1]) << "violet: more red than green";
    EXPECT_GT(middle[0], middle[2]) << "orange and yellow in the middle";
    EXPECT_GT(middle[1], middle[2]) << "orange and yellow in the middle";
    EXPECT_GT(right[2], right[0]) << "blue at the right end";
}

struct IcoImage {
    QByteArray bytes;
    std::uint32_t offset = 0; // of the BITMAPINFOHEADER, from the directory entry

    [[nodiscard]] int colourIndex(int x, int y) const
    {
        const auto row =
            static_cast<qsizetype>(offset + 40 + 64 + static_cast<std::uint32_t>(31 - y) * 16);
        const auto byte = static_cast<std::uint8_t>(bytes[row + x / 2]);
        return x % 2 == 0 ? byte >> 4 : byte & 0x0F;
    }
    [[nodiscard]] bool transparent(int x, int y) const
    {
        const auto row =
            static_cast<qsizetype>(offset + 40 + 64 + 512 + static_cast<std::uint32_t>(31 - y) * 4);
        return (static_cast<std::uint8_t>(bytes[row + x / 8]) & (0x80 >> (x % 8))) != 0;
    }
};

IcoImage readIcon()
{
    IcoImage icon;
    icon.bytes = readBytes(picturesDir + QStringLiteral("/ventbox.ico"));
    if (icon.bytes.size() >= 22)
        icon.offset = u32(icon.bytes, 18);
    return icon;
}

TEST(ResourcePictures, IconHasOne32x32SixteenColourImageWithMask)
{
    const IcoImage icon = readIcon();
    const QByteArray& b = icon.bytes;
    ASSERT_EQ(b.size(), 6 + 16 + 40 + 64 + 512 + 128);
    EXPECT_EQ(u16(b, 0), 0u) << "reserved";
    EXPECT_EQ(u16(b, 2), 1u) << "type: icon";
    EXPECT_EQ(u16(b, 4), 1u) << "one image";
    EXPECT_EQ(static_cast<std::uint8_t>(b[6]), 32) << "width";
    EXPECT_EQ(static_cast<std::uint8_t>(b[7]), 32) << "height";
    EXPECT_EQ(static_cast<std::uint8_t>(b[8]), 16) << "colour count";
    EXPECT_EQ(u16(b, 10), 1u) << "planes";
    EXPECT_EQ(u16(b, 12), 4u) << "bits per pixel";
    EXPECT_EQ(u32(b, 14), 40u + 64u + 512u + 128u) << "image bytes";
    EXPECT_EQ(icon.offset, 22u) << "image offset";
    const auto at = static_cast<qsizetype>(icon.offset);
    EXPECT_EQ(u32(b, at), 40u);
    EXPECT_EQ(u32(b, at + 4), 32u);
    EXPECT_EQ(u32(b, at + 8), 64u) << "height counts colour and mask rows";
    EXPECT_EQ(u16(b, at + 14), 4u);
    EXPECT_EQ(u32(b, at + 16), 0u) << "compression";
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(tableColour(b, at + 40 + 4 * i), standardPalette[static_cast<std::size_t>(i)])
            << "entry " << i;
}

TEST(ResourcePictures, IconMaskClearsTheCornersAndKeepsTheDrawing)
{
    const IcoImage icon = readIcon();
    ASSERT_EQ(icon.bytes.size(), 766);
    ASSERT_EQ(icon.offset, 22u);
    int transparent = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (icon.transparent(x, y)) {
                ++transparent;
                // Where the screen shows through, the colour bits are black,
                // so nothing is inverted.
                EXPECT_EQ(icon.colourIndex(x, y), 0) << x << "," << y;
            }
    EXPECT_GT(transparent, 100);
    EXPECT_LT(transparent, 32 * 32 - 200);
    for (const QPoint corner : {QPoint(0, 0), QPoint(31, 0), QPoint(0, 31), QPoint(31, 31)})
        EXPECT_TRUE(icon.transparent(corner.x(), corner.y())) << corner.x() << "," << corner.y();
    // The cone in the middle is opaque grey, the magnet below it black.
    EXPECT_FALSE(icon.transparent(16, 13));
    EXPECT_EQ(standardPalette[static_cast<std::size_t>(icon.colourIndex(16, 13))], grey);
}

// The PNG icons are the ICO's drawing: same colours, alpha 0 exactly where
// the mask is set, and the large one is the small one scaled by four.
TEST(ResourcePictures, PngIconsMatchTheIco)
{
    const IcoImage icon = readIcon();
    ASSERT_EQ(icon.bytes.size(), 766);
    ASSERT_EQ(icon.offset, 22u);
    const QImage small = load("ventbox.png").convertToFormat(QImage::Format_ARGB32);
    const QImage large = load("ventbox-128.png").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(small.size(), QSize(32, 32));
    ASSERT_EQ(large.size(), QSize(128, 128));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb pixel = small.pixel(x, y);
            if (icon.transparent(x, y)) {
                EXPECT_EQ(qAlpha(pixel), 0) << x << "," << y;
            } else {
                EXPECT_EQ(pixel, standardPalette[static_cast<std::size_t>(icon.colourIndex(x, y))])
                    << x << "," << y;
            }
        }
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            ASSERT_EQ(large.pixel(x, y), small.pixel(x / 4, y / 4)) << x << "," << y;
}

} // namespace
