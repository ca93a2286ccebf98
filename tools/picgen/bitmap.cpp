#include "bitmap.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace picgen {
namespace {

// Little-endian writers for the header fields.
void put16(QByteArray& out, std::uint32_t value)
{
    out.append(static_cast<char>(value & 0xFFu));
    out.append(static_cast<char>((value >> 8) & 0xFFu));
}

void put32(QByteArray& out, std::uint32_t value)
{
    put16(out, value & 0xFFFFu);
    put16(out, value >> 16);
}

void putColour(QByteArray& out, QRgb colour)
{
    // RGBQUAD: blue, green, red, reserved.
    out.append(static_cast<char>(qBlue(colour)));
    out.append(static_cast<char>(qGreen(colour)));
    out.append(static_cast<char>(qRed(colour)));
    out.append('\0');
}

[[noreturn]] void badPixel(const char* name, int x, int y, QRgb colour)
{
    std::fprintf(stderr,
                 "ventbox-picgen: %s: pixel (%d, %d) has colour #%06x,"
                 " which is not in the palette\n",
                 name, x, y, colour & 0xFFFFFFu);
    std::exit(1);
}

std::uint32_t rowBytes(int width, int bitsPerPixel)
{
    const auto bits = static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bitsPerPixel);
    return (bits + 31u) / 32u * 4u;
}

// The pixel rows of a palette image, bottom row first, each padded to a
// multiple of four bytes.
QByteArray packRows(const IndexedImage& image, int bitsPerPixel)
{
    const std::uint32_t stride = rowBytes(image.width, bitsPerPixel);
    QByteArray rows;
    for (int y = image.height - 1; y >= 0; --y) {
        QByteArray row(static_cast<qsizetype>(stride), '\0');
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t index = image.at(x, y);
            if (bitsPerPixel == 8) {
                row[x] = static_cast<char>(index);
            } else {
                // Two pixels a byte, the left one in the high nibble.
                const int shift = (x % 2 == 0) ? 4 : 0;
                row[x / 2] = static_cast<char>(static_cast<std::uint8_t>(row[x / 2])
                                               | ((index & 0x0Fu) << shift));
            }
        }
        rows.append(row);
    }
    return rows;
}

void putInfoHeader(QByteArray& out, int width, int height, int bitsPerPixel,
                   std::uint32_t imageBytes, std::uint32_t coloursUsed)
{
    constexpr std::uint32_t pixelsPerMetre = 3780; // 96 pixels per inch
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1); // planes
    put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    put32(out, 0); // BI_RGB, no compression
    put32(out, imageBytes);
    put32(out, pixelsPerMetre);
    put32(out, pixelsPerMetre);
    put32(out, coloursUsed);
    put32(out, 0); // all colours important
}

struct ColourCount {
    QRgb rgb;
    std::uint32_t count;
};

int channel(QRgb rgb, int which)
{
    return which == 0 ? qRed(rgb) : which == 1 ? qGreen(rgb) : qBlue(rgb);
}

// A box of the median cut: a range of the sorted colour list.
struct Box {
    std::size_t begin;
    std::size_t end;
    int longestChannel = 0;
    int range = 0;
    std::uint64_t pixels = 0;
};

void measure(Box& box, const std::vector<ColourCount>& colours)
{
    int low[3] = {255, 255, 255};
    int high[3] = {0, 0, 0};
    box.pixels = 0;
    for (std::size_t i = box.begin; i < box.end; ++i) {
        for (int c = 0; c < 3; ++c) {
            low[c] = std::min(low[c], channel(colours[i].rgb, c));
            high[c] = std::max(high[c], channel(colours[i].rgb, c));
        }
        box.pixels += colours[i].count;
    }
    box.range = -1;
    for (int c = 0; c < 3; ++c) {
        if (high[c] - low[c] > box.range) {
            box.range = high[c] - low[c];
            box.longestChannel = c;
        }
    }
}

QRgb meanColour(const Box& box, const std::vector<ColourCount>& colours)
{
    std::uint64_t sum[3] = {0, 0, 0};
    for (std::size_t i = box.begin; i < box.end; ++i)
        for (int c = 0; c < 3; ++c)
            sum[c] += static_cast<std::uint64_t>(channel(colours[i].rgb, c)) * colours[i].count;
    const auto mean = [&](int c) {
        return static_cast<int>((sum[c] + box.pixels / 2) / box.pixels);
    };
    return qRgb(mean(0), mean(1), mean(2));
}

int distance2(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

} // namespace

const std::array<QRgb, 16>& windowsPalette()
{
    static const std::array<QRgb, 16> palette = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    return palette;
}

IndexedImage toWindowsPalette(const QImage& image, const char* name)
{
    const auto& palette = windowsPalette();
    IndexedImage out{image.width(), image.height(), {palette.begin(), palette.end()}, {}};
    out.pixels.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y) & 0xFFFFFFu;
            const auto found = std::find_if(palette.begin(), palette.end(), [&](QRgb entry) {
                return (entry & 0xFFFFFFu) == colour;
            });
            if (found == palette.end())
                badPixel(name, x, y, colour);
            out.pixels.push_back(static_cast<std::uint8_t>(found - palette.begin()));
        }
    }
    return out;
}

IndexedImage toBlackAndWhite256(const QImage& image, const char* name)
{
    IndexedImage out{image.width(), image.height(), {}, {}};
    for (int i = 0; i < 256; ++i)
        out.palette.push_back(qRgb(i, i, i));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y) & 0xFFFFFFu;
            if (colour == 0)
                out.pixels.push_back(0);
            else if (colour == 0xFFFFFFu)
                out.pixels.push_back(255);
            else
                badPixel(name, x, y, colour);
        }
    }
    return out;
}

IndexedImage toPalette256(const QImage& image, QRgb keep)
{
    keep = qRgb(qRed(keep), qGreen(keep), qBlue(keep));

    std::map<QRgb, std::uint32_t> histogram;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour =
                qRgb(qRed(image.pixel(x, y)), qGreen(image.pixel(x, y)), qBlue(image.pixel(x, y)));
            if (colour != keep)
                ++histogram[colour];
        }
    std::vector<ColourCount> colours;
    for (const auto& [rgb, count] : histogram)
        colours.push_back({rgb, count});

    // Median cut: split the box with the widest spread (weighted by its
    // pixel count) along its longest channel until 255 boxes stand.
    std::vector<Box> boxes;
    if (!colours.empty()) {
        boxes.push_back({0, colours.size()});
        measure(boxes.back(), colours);
    }
    while (boxes.size() < 255) {
        std::size_t best = boxes.size();
        std::uint64_t bestScore = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].end - boxes[i].begin < 2)
                continue;
            const std::uint64_t score =
                static_cast<std::uint64_t>(boxes[i].range) * boxes[i].pixels;
            if (best == boxes.size() || score > bestScore) {
                best = i;
                bestScore = score;
            }
        }
        if (best == boxes.size())
            break;
        Box box = boxes[best];
        const int c = box.longestChannel;
        std::sort(colours.begin() + static_cast<std::ptrdiff_t>(box.begin),
                  colours.begin() + static_cast<std::ptrdiff_t>(box.end),
                  [c](const ColourCount& a, const ColourCount& b) {
                      const int ka = channel(a.rgb, c);
                      const int kb = channel(b.rgb, c);
                      return ka != kb ? ka < kb : a.rgb < b.rgb;
                  });
        std::uint64_t seen = 0;
        std::size_t cut = box.begin + 1;
        for (std::size_t i = box.begin; i < box.end - 1; ++i) {
            seen += colours[i].count;
            cut = i + 1;
            if (seen * 2 >= box.pixels)
                break;
        }
        Box low{box.begin, cut};
        Box high{cut, box.end};
        measure(low, colours);
        measure(high, colours);
        boxes[best] = low;
        boxes.push_back(high);
    }

    std::vector<QRgb> entries;
    for (const Box& box : boxes) {
        QRgb mean = meanColour(box, colours);
        if (mean == keep) // only the kept colour itself may be exactly that
            mean = qRgb(qRed(keep) + (qRed(keep) < 255 ? 1 : -1), qGreen(keep), qBlue(keep));
        entries.push_back(mean);
    }
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());

    IndexedImage out{image.width(), image.height(), entries, {}};
    const auto keepIndex = static_cast<std::uint8_t>(out.palette.size());
    out.palette.push_back(keep);
    out.palette.resize(256, qRgb(0, 0, 0));

    std::map<QRgb, std::uint8_t> nearest;
    for (const auto& [rgb, count] : histogram) {
        std::size_t bestIndex = 0;
        for (std::size_t i = 1; i < entries.size(); ++i)
            if (distance2(rgb, entries[i]) < distance2(rgb, entries[bestIndex]))
                bestIndex = i;
        nearest[rgb] = static_cast<std::uint8_t>(bestIndex);
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour =
                qRgb(qRed(image.pixel(x, y)), qGreen(image.pixel(x, y)), qBlue(image.pixel(x, y)));
            out.pixels.push_back(colour == keep ? keepIndex : nearest[colour]);
        }
    return out;
}

QByteArray encodeBmp(const IndexedImage& image, int bitsPerPixel)
{
    const std::uint32_t paletteSize = 1u << bitsPerPixel;
    const QByteArray rows = packRows(image, bitsPerPixel);
    const std::uint32_t headers = 14u + 40u + 4u * paletteSize;
    const auto imageBytes = static_cast<std::uint32_t>(rows.size());

    QByteArray out;
    out.append("BM");
    put32(out, headers + imageBytes);
    put32(out, 0); // two reserved words
    put32(out, headers);
    putInfoHeader(out, image.width, image.height, bitsPerPixel, imageBytes, paletteSize);
    for (std::uint32_t i = 0; i < paletteSize; ++i)
        putColour(out, i < image.palette.size() ? image.palette[i] : qRgb(0, 0, 0));
    out.append(rows);
    return out;
}

QByteArray encodeIco(const IndexedImage& image, const std::vector<bool>& transparent)
{
    const QByteArray colourRows = packRows(image, 4);

    // The AND mask: one bit a pixel, set where the screen shows through.
    const std::uint32_t maskStride = rowBytes(image.width, 1);
    QByteArray maskRows;
    for (int y = image.height - 1; y >= 0; --y) {
        QByteArray row(static_cast<qsizetype>(maskStride), '\0');
        for (int x = 0; x < image.width; ++x)
            if (transparent[static_cast<std::size_t>(y * image.width + x)])
                row[x / 8] =
                    static_cast<char>(static_cast<std::uint8_t>(row[x / 8]) | (0x80u >> (x % 8)));
        maskRows.append(row);
    }

    const auto imageBytes = static_cast<std::uint32_t>(colourRows.size() + maskRows.size());
    const std::uint32_t resourceBytes = 40u + 16u * 4u + imageBytes;

    QByteArray out;
    // ICONDIR: reserved, type 1 (icon), one image.
    put16(out, 0);
    put16(out, 1);
    put16(out, 1);
    // ICONDIRENTRY
    out.append(static_cast<char>(image.width));
    out.append(static_cast<char>(image.height));
    out.append(static_cast<char>(16)); // colours
    out.append('\0');
    put16(out, 1); // planes
    put16(out, 4); // bits per pixel
    put32(out, resourceBytes);
    put32(out, 6u + 16u);
    // The image: its height counts the colour rows and the mask rows.
    putInfoHeader(out, image.width, image.height * 2, 4, imageBytes, 16);
    for (std::size_t i = 0; i < 16; ++i)
        putColour(out, image.palette[i]);
    out.append(colourRows);
    out.append(maskRows);
    return out;
}

} // namespace picgen
