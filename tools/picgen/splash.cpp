// The splash picture: the word BASREFLEX painted in rough brush strokes,
// coloured as a rainbow from left to right, over soft blots of paint and a
// scatter of small dots, on silver. Silver stays exact wherever there is no
// paint, because the splash window shows it as transparent.
//
// The picture is computed pixel by pixel in floating point: a layer of
// blots, a layer of dots and the letters on top. The letters come from a
// bold font, roughened by displacing their outline with noise and streaked
// with a bristle texture, sampled 3 x 3 times per pixel.

#include "draw.h"
#include "pictures.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace picgen {
namespace {

constexpr int width = 210;
constexpr int height = 122;

struct Colour {
    double r, g, b;
};

Colour mix(Colour a, Colour b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double smoothstep(double edge0, double edge1, double x)
{
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Value noise in [0, 1] on an integer lattice, smoothly interpolated.
double latticeValue(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u
        + static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<double>(h & 0xFFFFFFu) / 16777215.0;
}

double noise(double x, double y, std::uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double tx = smoothstep(0.0, 1.0, x - fx), ty = smoothstep(0.0, 1.0, y - fy);
    const double top = latticeValue(ix, iy, seed)
        + (latticeValue(ix + 1, iy, seed) - latticeValue(ix, iy, seed)) * tx;
    const double bottom = latticeValue(ix, iy + 1, seed)
        + (latticeValue(ix + 1, iy + 1, seed) - latticeValue(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

// Two octaves of noise, for edges that are rough at two scales.
double fractal(double x, double y, std::uint32_t seed)
{
    return (2.0 * noise(x, y, seed) + noise(2.1 * x, 2.1 * y, seed + 17)) / 3.0;
}

// The rainbow across the word: violet, magenta, red, orange, yellow,
// green, cyan, blue, for t from 0 (left) to 1 (right).
Colour rainbow(double t)
{
    // clang-format off
    static const Colour stops[] = {
        {0.50, 0.20, 0.85}, // violet
        {0.90, 0.15, 0.75}, // magenta
        {0.95, 0.12, 0.15}, // red
        {1.00, 0.55, 0.05}, // orange
        {1.00, 0.90, 0.10}, // yellow
        {0.20, 0.78, 0.20}, // green
        {0.05, 0.80, 0.85}, // cyan
        {0.15, 0.30, 0.95}, // blue
    };
    // clang-format on
    constexpr int last = static_cast<int>(std::size(stops)) - 1;
    const double position = std::clamp(t, 0.0, 1.0) * last;
    const int i = std::min(static_cast<int>(position), last - 1);
    return mix(stops[i], stops[i + 1], position - i);
}

// The letters' coverage, drawn three times larger than the picture so
// that their displaced outline can be sampled finely.
constexpr int scale = 3;

QImage letterMask()
{
    QImage mask(width * scale, height * scale, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);

    const QFont font = pictureFont("DejaVu Sans", 100, true, true);
    const QString word = QStringLiteral("BASREFLEX");
    // Each letter is placed on its own, slightly tilted and lifted, as a
    // hand would paint it; the whole word is then fitted to its box.
    Random random(1997);
    QPainterPath path;
    double x = 0.0;
    for (QChar letter : word) {
        QPainterPath glyph;
        glyph.addText(0, 0, font, QString(letter));
        const QRectF bounds = glyph.boundingRect();
        QTransform tilt;
        tilt.translate(x + bounds.width() / 2, random.uniform(-6.0, 6.0));
        tilt.rotate(random.uniform(-6.0, 6.0));
        tilt.translate(-bounds.center().x(), 0);
        path.addPath(tilt.map(glyph));
        x += bounds.width() + 4.0;
    }
    const QRectF target(8.0 * scale, 34.0 * scale, 194.0 * scale, 52.0 * scale);
    const QRectF bounds = path.boundingRect();
    QTransform fit;
    fit.translate(target.left(), target.top());
    fit.scale(target.width() / bounds.width(), target.height() / bounds.height());
    fit.translate(-bounds.left(), -bounds.top());
    painter.drawPath(fit.map(path));
    return mask;
}

double sampleMask(const QImage& mask, double x, double y)
{
    const int ix = std::clamp(static_cast<int>(std::lround(x)), 0, mask.width() - 1);
    const int iy = std::clamp(static_cast<int>(std::lround(y)), 0, mask.height() - 1);
    return mask.constScanLine(iy)[ix] / 255.0;
}

struct Blot {
    double x, y, radius;
    Colour colour;
};

struct Dot {
    double x, y, radius;
};

} // namespace

QImage splashPicture()
{
    const Colour silver{192 / 255.0, 192 / 255.0, 192 / 255.0};
    const Colour pink{1.00, 0.60, 0.80}, green{0.55, 0.85, 0.50}, blue{0.50, 0.65, 1.00},
        violet{0.72, 0.52, 0.92};
    const std::vector<Blot> blots = {
        {30, 30, 24, pink},    {70, 92, 22, green},  {112, 28, 20, blue},
        {150, 96, 24, violet}, {186, 34, 20, pink},  {22, 96, 16, blue},
        {120, 104, 14, pink},  {78, 24, 14, violet}, {196, 98, 14, green},
    };
    std::vector<Dot> dots;
    Random random(20240611);
    while (dots.size() < 70)
        dots.push_back({random.uniform(4, width - 4), random.uniform(4, height - 4),
                        random.uniform(0.7, 1.7)});

    const QImage mask = letterMask();
    QImage image = filledImage(width, height, pal::silver);
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            Colour colour = silver;
            double paint = 0.0; // how much paint covers the silver

            for (std::size_t i = 0; i < blots.size(); ++i) {
                const Blot& blot = blots[i];
                const double dx = px - blot.x, dy = py - blot.y;
                const auto seed = static_cast<std::uint32_t>(i);
                const double ragged =
                    blot.radius * (0.6 + 0.45 * fractal(px / 9.0, py / 9.0, seed));
                const double distance = std::hypot(dx, dy);
                // A wash like water colour: mottled inside, a little darker
                // along its ragged rim, and an edge a pixel or two wide.
                const double wash = 0.5 + 0.3 * noise(px / 4.0, py / 4.0, seed + 50)
                    + 0.15 * smoothstep(0.6, 1.0, distance / ragged);
                const double alpha = wash * (1.0 - smoothstep(ragged - 1.5, ragged, distance));
                colour = mix(colour, blot.colour, alpha);
                paint = std::max(paint, alpha);
            }
            for (const Dot& dot : dots) {
                const double alpha =
                    std::clamp(dot.radius + 0.5 - std::hypot(px - dot.x, py - dot.y), 0.0, 1.0);
                colour = mix(colour, Colour{0.35, 0.25, 0.85}, alpha);
                paint = std::max(paint, alpha);
            }

            // The letters: 3 x 3 samples, each inside where the displaced
            // outline and the bristle streaks say so.
            double cover = 0.0;
            double shade = 0.0;
            for (int sy = 0; sy < scale; ++sy) {
                for (int sx = 0; sx < scale; ++sx) {
                    const double x = px + (sx + 0.5) / scale, y = py + (sy + 0.5) / scale;
                    const double wx = x + 1.6 * (fractal(x / 3.0, y / 3.0, 101) - 0.5);
                    const double wy = y + 1.6 * (fractal(x / 3.0, y / 3.0, 202) - 0.5);
                    const double bristles = noise(x / 6.0 + y / 14.0, y * 1.3, 303);
                    const double inside =
                        sampleMask(mask, wx * scale, wy * scale) + 0.35 * (bristles - 0.5);
                    if (inside > 0.5) {
                        cover += 1.0;
                        shade += bristles;
                    }
                }
            }
            if (cover > 0.0) {
                const double alpha = cover / (scale * scale);
                const Colour hue = rainbow((px - 8.0) / 194.0);
                const double light = 0.78 + 0.3 * (shade / cover);
                const Colour stroke{std::min(1.0, hue.r * light), std::min(1.0, hue.g * light),
                                    std::min(1.0, hue.b * light)};
                colour = mix(colour, stroke, alpha);
                paint = std::max(paint, alpha);
            }

            // A trace of paint too faint to see stays silver.
            if (paint < 0.06)
                continue;
            image.setPixel(px, py,
                           qRgb(static_cast<int>(std::lround(colour.r * 255)),
                                static_cast<int>(std::lround(colour.g * 255)),
                                static_cast<int>(std::lround(colour.b * 255))));
        }
    }
    return image;
}

} // namespace picgen
