#pragma once

// One function per picture. Each returns the drawing in true colour; main.cpp
// maps it to the palette of its file and writes it.

#include <QImage>

#include <vector>

namespace picgen {

// Button pictures: two square images side by side, the normal one and the
// one for the disabled button, on olive, the transparent colour.
QImage calculatorButton();
QImage printerButton();
QImage exitDoorButton();
QImage helpButton();
QImage insertButton();

// Shape pictures of the port area window, black on silver.
QImage circleShape();
QImage rectangleShape();
QImage squareShape();
QImage triangleShape();

// The splash picture: the rainbow word on silver.
QImage splashPicture();

// The enclosure sketch of the design sheet, black on white.
QImage enclosureSketch();

// The program's icon, 32 x 32, and which of its pixels are transparent
// (one flag a pixel, rows from the top).
struct Icon {
    QImage image;
    std::vector<bool> transparent;
};
Icon programIcon();

} // namespace picgen
