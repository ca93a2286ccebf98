#pragma once

// Palette images and the two file formats the pictures are stored in:
// uncompressed Windows BMP (4 or 8 bits per pixel) and the ICO container.

#include <QByteArray>
#include <QImage>
#include <QRgb>

#include <array>
#include <cstdint>
#include <vector>

namespace picgen {

// One index per pixel, rows from the top, and the colour table.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<QRgb> palette;
    std::vector<std::uint8_t> pixels;

    [[nodiscard]] std::uint8_t at(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)
                      + static_cast<std::size_t>(x)];
    }
};

// The sixteen colours of the standard Windows palette, in table order.
const std::array<QRgb, 16>& windowsPalette();

// Maps every pixel to its entry of the standard palette. A colour outside
// the palette is a drawing mistake: the program stops with a message that
// names the picture and the pixel.
IndexedImage toWindowsPalette(const QImage& image, const char* name);

// Reduces a true-colour picture to a 256-entry palette by median cut.
// `keep` stays exact: it gets an entry of its own, every pixel of that colour
// maps to it and no other pixel does.
IndexedImage toPalette256(const QImage& image, QRgb keep);

// Maps a picture that holds only black and white to a 256-entry grey ramp
// (index 0 black, index 255 white); any other colour stops the program.
IndexedImage toBlackAndWhite256(const QImage& image, const char* name);

// A complete BMP file: file header, BITMAPINFOHEADER, colour table with
// 2^bitsPerPixel entries, bottom-up rows padded to four bytes.
QByteArray encodeBmp(const IndexedImage& image, int bitsPerPixel);

// A complete ICO file with one 4-bit image and its AND mask; `transparent`
// holds one flag per pixel (rows from the top).
QByteArray encodeIco(const IndexedImage& image, const std::vector<bool>& transparent);

} // namespace picgen
