#include "tbitbtn.h"

#include <QBitmap>
#include <QIcon>
#include <QImage>
#include <QPixmap>

TBitBtn::TBitBtn(QWidget* parent) : QPushButton(parent)
{
    connect(this, &QAbstractButton::clicked, this, &TBitBtn::handleClick);
}

void TBitBtn::setGlyph(const QString& path)
{
    glyph_ = path;
    setGlyphImage(QImage(path));
}

void TBitBtn::setStandardGlyph(QStyle::StandardPixmap pixmap)
{
    standardGlyph_ = pixmap;
    setIcon(style()->standardIcon(pixmap, nullptr, this));
    setIconSize(QSize(16, 16));
}

void TBitBtn::setGlyphImage(const QImage& image)
{
    if (image.isNull() || image.height() <= 0) {
        setIcon(QIcon());
        return;
    }
    const int side = image.height();
    const int count = std::max(1, image.width() / side);
    const QRgb transparent = image.pixel(0, image.height() - 1);

    auto piece = [&](int index) {
        const QImage part =
            image.copy(index * side, 0, side, side).convertToFormat(QImage::Format_ARGB32);
        QImage keyed = part;
        for (int y = 0; y < keyed.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
            for (int x = 0; x < keyed.width(); ++x) {
                if ((line[x] & 0xFFFFFF) == (transparent & 0xFFFFFF))
                    line[x] = 0;
            }
        }
        return QPixmap::fromImage(keyed);
    };

    QIcon icon;
    icon.addPixmap(piece(0), QIcon::Normal);
    icon.addPixmap(piece(count > 1 ? 1 : 0), QIcon::Disabled);
    setIcon(icon);
    setIconSize(QSize(side, side));
}

void TBitBtn::handleClick()
{
    if (kind_ == Close) {
        window()->close();
        return;
    }
    emit activated();
}
