// ventbox-picgen: draws every picture of the program and writes it in the
// file format the program loads.
//
// The pictures in resources/pictures are this program's output and are
// committed. After a change here, rebuild and regenerate them by hand:
//
//   cmake --build build --target ventbox-picgen
//   build/bin/ventbox-picgen resources/pictures
//
// The output is the same, byte for byte, on every run; the resources tests
// run the generator again and compare.

#include "bitmap.h"
#include "pictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

namespace {

bool writeFile(const QDir& dir, const char* name, const QByteArray& bytes)
{
    QFile file(dir.filePath(QString::fromLatin1(name)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "ventbox-picgen: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The icon as an RGBA image: its colours, with alpha 0 where the mask says
// transparent.
QImage iconWithAlpha(const picgen::Icon& icon)
{
    QImage out = icon.image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (icon.transparent[static_cast<std::size_t>(y * out.width() + x)])
                out.setPixel(x, y, qRgba(0, 0, 0, 0));
    return out;
}

} // namespace

int main(int argc, char* argv[])
{
    // Pictures never need a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc != 2) {
        std::fprintf(stderr, "usage: ventbox-picgen OUTPUT-DIRECTORY\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "ventbox-picgen: cannot make %s\n", argv[1]);
        return 1;
    }

    using namespace picgen;
    struct Sixteen {
        const char* name;
        QImage (*draw)();
    };
    // clang-format off
    const Sixteen sixteenColour[] = {
        {"calculator.bmp", calculatorButton},
        {"printer.bmp", printerButton},
        {"exitdoor.bmp", exitDoorButton},
        {"help.bmp", helpButton},
        {"insert.bmp", insertButton},
        {"circle.bmp", circleShape},
        {"rectangle.bmp", rectangleShape},
        {"square.bmp", squareShape},
        {"triangle.bmp", triangleShape},
    };
    // clang-format on
    bool ok = true;
    for (const Sixteen& picture : sixteenColour)
        ok = writeFile(dir, picture.name,
                       encodeBmp(toWindowsPalette(picture.draw(), picture.name), 4))
            && ok;

    ok = writeFile(dir, "splash.bmp", encodeBmp(toPalette256(splashPicture(), 0xFFC0C0C0u), 8))
        && ok;
    ok = writeFile(dir, "sketch.bmp",
                   encodeBmp(toBlackAndWhite256(enclosureSketch(), "sketch.bmp"), 8))
        && ok;

    const Icon icon = programIcon();
    ok = writeFile(dir, "ventbox.ico",
                   encodeIco(toWindowsPalette(icon.image, "ventbox.ico"), icon.transparent))
        && ok;
    const QImage rgba = iconWithAlpha(icon);
    ok = writeFile(dir, "ventbox.png", pngBytes(rgba)) && ok;
    ok = writeFile(dir, "ventbox-128.png",
                   pngBytes(rgba.scaled(128, 128, Qt::IgnoreAspectRatio, Qt::FastTransformation)))
        && ok;
    return ok ? 0 : 1;
}
