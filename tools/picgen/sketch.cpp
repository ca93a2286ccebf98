// The enclosure sketch of the design sheet: the box in section with the
// loudspeaker on the left wall and the port tube below it, black on white.
// The sheet shows the picture in a box eleven rows shorter than the
// picture, so everything drawn stays within rows 12 to 208 and columns 2
// to 117.

#include "draw.h"
#include "pictures.h"

#include <QPainter>

namespace picgen {
namespace {

constexpr int wall = 4; // thickness of the box walls

// A filled arrowhead with its tip at `tip`, pointing along (dx, dy), one
// of the four axis directions: rows of 1, 1, 3, 3, 5, 5 pixels going back.
void arrowHead(QImage& image, QPoint tip, int dx, int dy)
{
    for (int back = 0; back < 6; ++back)
        for (int side = -back / 2; side <= back / 2; ++side)
            image.setPixel(tip.x() - back * dx + side * dy, tip.y() - back * dy + side * dx,
                           pal::black);
}

// Text whose advance is centred on `centre`.
void caption(QPainter& painter, int centre, int baseline, const char* text)
{
    const QString string = QString::fromUtf8(text);
    painter.drawText(centre - painter.fontMetrics().horizontalAdvance(string) / 2, baseline,
                     string);
}

} // namespace

QImage enclosureSketch()
{
    QImage image = filledImage(120, 228, pal::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setFont(pictureFont("DejaVu Sans", 9));
    const auto block = [&](int left, int top, int right, int bottom) {
        painter.fillRect(QRect(QPoint(left, top), QPoint(right, bottom)), Qt::black);
    };

    // The box, with two openings in its left wall.
    const QRect box(QPoint(8, 44), QPoint(111, 180));
    const int speakerTop = 62, speakerBottom = 104; // opening for the cone
    const int portTop = 144, portBottom = 156;      // opening of the port
    block(box.left(), box.top(), box.right(), box.top() + wall - 1);
    block(box.left(), box.bottom() - wall + 1, box.right(), box.bottom());
    block(box.right() - wall + 1, box.top(), box.right(), box.bottom());
    block(box.left(), box.top(), box.left() + wall - 1, speakerTop - 1);
    block(box.left(), speakerBottom + 1, box.left() + wall - 1, portTop - 1);
    block(box.left(), portBottom + 1, box.left() + wall - 1, box.bottom());

    // The loudspeaker on the inner side of the wall: its frame around the
    // opening, the cone narrowing into the box, the dust cap and the magnet
    // behind it.
    const int inner = box.left() + wall;
    const int middle = (speakerTop + speakerBottom) / 2;
    block(inner, speakerTop - 4, inner + 1, speakerTop + 1);
    block(inner, speakerBottom - 1, inner + 1, speakerBottom + 4);
    const int coneEnd = inner + 20;
    painter.drawLine(inner + 2, speakerTop + 1, coneEnd, middle - 7);
    painter.drawLine(inner + 2, speakerBottom - 1, coneEnd, middle + 7);
    painter.drawLine(inner + 2, speakerTop + 1, inner + 2, speakerBottom - 1);
    painter.drawArc(QRect(coneEnd - 5, middle - 5, 10, 10), 90 * 16, 180 * 16);
    block(coneEnd, middle - 7, coneEnd + 1, middle + 7);
    block(coneEnd + 2, middle - 10, coneEnd + 12, middle + 10);

    // The port tube: two walls from the opening into the box.
    const int tubeEnd = 72;
    block(box.left(), portTop - 2, tubeEnd, portTop - 1);
    block(box.left(), portBottom + 1, tubeEnd, portBottom + 2);

    // Its length: a dimension line over the tube between two extension
    // lines, with the word above it.
    const int dimension = 132;
    painter.drawLine(box.left(), dimension - 4, box.left(), portTop - 5);
    painter.drawLine(tubeEnd, dimension - 4, tubeEnd, portTop - 5);
    painter.drawLine(box.left() + 1, dimension, tubeEnd - 1, dimension);
    arrowHead(image, QPoint(box.left() + 1, dimension), -1, 0);
    arrowHead(image, QPoint(tubeEnd - 1, dimension), 1, 0);
    caption(painter, (box.left() + tubeEnd) / 2 + 2, dimension - 4, "Délka");

    // The captions and their leader lines: the enclosure's at the top,
    // pointing into the box, the tube's at the bottom, pointing at it.
    caption(painter, 70, 21, "Basreflexová");
    caption(painter, 70, 32, "ozvučnice");
    painter.drawLine(70, 36, 70, 72);
    arrowHead(image, QPoint(70, 72), 0, 1);

    caption(painter, 48, 206, "Nátrubek");
    painter.drawLine(48, 196, 48, portBottom + 4);
    arrowHead(image, QPoint(48, portBottom + 4), 0, -1);
    return image;
}

} // namespace picgen
