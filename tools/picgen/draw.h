#pragma once

// Small drawing helpers shared by the pictures.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRgb>

#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace picgen {

// Named colours of the standard 16-colour palette.
namespace pal {
inline constexpr QRgb black = 0xFF000000u;
inline constexpr QRgb maroon = 0xFF800000u;
inline constexpr QRgb green = 0xFF008000u;
inline constexpr QRgb olive = 0xFF808000u;
inline constexpr QRgb navy = 0xFF000080u;
inline constexpr QRgb purple = 0xFF800080u;
inline constexpr QRgb teal = 0xFF008080u;
inline constexpr QRgb silver = 0xFFC0C0C0u;
inline constexpr QRgb grey = 0xFF808080u;
inline constexpr QRgb red = 0xFFFF0000u;
inline constexpr QRgb lime = 0xFF00FF00u;
inline constexpr QRgb yellow = 0xFFFFFF00u;
inline constexpr QRgb blue = 0xFF0000FFu;
inline constexpr QRgb fuchsia = 0xFFFF00FFu;
inline constexpr QRgb aqua = 0xFF00FFFFu;
inline constexpr QRgb white = 0xFFFFFFFFu;
} // namespace pal

// A true-colour image filled with one colour.
QImage filledImage(int width, int height, QRgb colour);

// Paints a picture given as rows of letters, one letter a pixel, at (left,
// top) of `image`. The letters name palette colours:
//   k black   R maroon  g green   n navy    p purple  t teal
//   s silver  G grey    r red     l lime    y yellow  b blue
//   m fuchsia c aqua    w white
// A dot leaves the pixel as it is. Every row must be as long as the first.
void paintPixelMap(QImage& image, int left, int top, std::initializer_list<std::string_view> rows);

// A font of the given family and pixel size, without antialiasing when
// `smooth` is false. Stops the program when the family is not installed, so
// that no picture is ever drawn with a substitute.
QFont pictureFont(const char* family, int pixelSize, bool bold = false, bool smooth = false);

// A small deterministic random generator (xorshift), so that the pictures
// come out the same on every run and with every standard library.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed != 0 ? seed : 1u) { }
    std::uint32_t next();
    // A number in [low, high).
    double uniform(double low, double high);

private:
    std::uint32_t state_;
};

} // namespace picgen
