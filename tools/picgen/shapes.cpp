// The shape pictures of the port area window: black line drawings on
// silver, which the window shows as transparent. Drawn without
// antialiasing so that only black and silver occur.

#include "draw.h"
#include "pictures.h"

#include <QPainter>
#include <QPointF>

#include <algorithm>
#include <cmath>

namespace picgen {
namespace {

constexpr int lineWidth = 2;

// Paints black every pixel whose centre lies inside a shape and close to
// its edge. `depth` gives how far a point lies inside
// (negative outside). Lines drawn so are evenly thick at every slope,
// which a pen without antialiasing is not.
template <typename Depth> void paintOutline(QImage& image, Depth depth)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const double d = depth(QPointF(x + 0.5, y + 0.5));
            if (d >= 0.0 && d < lineWidth + 0.3)
                image.setPixel(x, y, pal::black);
        }
}

// A filled arrowhead pointing right with its tip at (x, y): columns of
// 1, 1, 3, 3, 5, 5, 7 pixels going back from the tip.
void arrowHeadRight(QImage& image, int x, int y)
{
    for (int back = 0; back < 7; ++back)
        for (int dy = -back / 2; dy <= back / 2; ++dy)
            image.setPixel(x - back, y + dy, pal::black);
}

// A painter on a silver image, set up for crisp black lines and letters.
class ShapePainter : public QPainter {
public:
    explicit ShapePainter(QImage& image) : QPainter(&image)
    {
        setRenderHint(QPainter::Antialiasing, false);
        setRenderHint(QPainter::TextAntialiasing, false);
        setPen(QPen(Qt::black, lineWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        setBrush(Qt::NoBrush);
        setFont(pictureFont("DejaVu Sans", 15, true));
    }

    // A letter whose ink box is centred on `centre`.
    void letter(QPoint centre, QChar letter)
    {
        const QRect ink = fontMetrics().tightBoundingRect(QString(letter));
        drawText(centre.x() - ink.width() / 2 - ink.left(),
                 centre.y() - ink.height() / 2 - ink.top(), QString(letter));
    }

    // A rectangle whose outer edge is `outer`, lines growing inwards.
    void frame(const QRect& outer)
    {
        fillRect(outer.left(), outer.top(), outer.width(), lineWidth, Qt::black);
        fillRect(outer.left(), outer.bottom() - lineWidth + 1, outer.width(), lineWidth, Qt::black);
        fillRect(outer.left(), outer.top(), lineWidth, outer.height(), Qt::black);
        fillRect(outer.right() - lineWidth + 1, outer.top(), lineWidth, outer.height(), Qt::black);
    }
};

} // namespace

QImage circleShape()
{
    QImage image = filledImage(79, 79, pal::silver);
    const QPointF centre(39.5, 39.5);
    constexpr double radius = 37.3;
    paintOutline(image, [&](QPointF p) {
        return radius - std::hypot(p.x() - centre.x(), p.y() - centre.y());
    });

    // The radius: from a dot in the centre to the inner edge of the rim.
    ShapePainter painter(image);
    painter.fillRect(38, 38, 3, 3, Qt::black);
    painter.fillRect(39, 39, 34, 1, Qt::black);
    arrowHeadRight(image, 74, 39);
    painter.letter(QPoint(56, 31), QLatin1Char('r'));
    return image;
}

QImage rectangleShape()
{
    QImage image = filledImage(80, 56, pal::silver);
    ShapePainter painter(image);
    painter.frame(QRect(QPoint(18, 18), QPoint(76, 52)));
    painter.letter(QPoint(9, 35), QLatin1Char('a'));
    painter.letter(QPoint(47, 9), QLatin1Char('b'));
    return image;
}

QImage squareShape()
{
    QImage image = filledImage(77, 63, pal::silver);
    ShapePainter painter(image);
    painter.frame(QRect(QPoint(22, 8), QPoint(71, 57)));
    painter.letter(QPoint(11, 32), QLatin1Char('a'));
    return image;
}

QImage triangleShape()
{
    QImage image = filledImage(81, 70, pal::silver);
    // Side 60 on a base at the bottom: the apex stands 52 pixels higher.
    const QPointF corners[3] = {{16.0, 64.0}, {76.0, 64.0}, {46.0, 64.0 - 30.0 * std::sqrt(3.0)}};
    paintOutline(image, [&](QPointF p) {
        double depth = 1e9;
        for (int i = 0; i < 3; ++i) {
            // Distance inside the edge from corner i to the next, whose
            // inner side lies to its left going anticlockwise on screen.
            const QPointF a = corners[i], b = corners[(i + 1) % 3];
            const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
            const double across =
                ((b.x() - a.x()) * (a.y() - p.y()) - (b.y() - a.y()) * (a.x() - p.x())) / length;
            depth = std::min(depth, across);
        }
        return depth;
    });
    ShapePainter painter(image);
    painter.letter(QPoint(22, 38), QLatin1Char('a'));
    return image;
}

} // namespace picgen
