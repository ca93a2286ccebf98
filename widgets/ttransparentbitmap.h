#pragma once
// A picture control that draws a bitmap with every pixel of one key colour
// (the transparent colour) replaced by the control's colour, which is the
// colour its container shows behind it. Without Stretch the control takes
// the picture's size when it paints; with Stretch the whole picture is drawn
// scaled into the control, nearest neighbour (rows and columns are dropped
// or repeated, never blended).
//
// The control has no native window and paints every pixel of its rectangle
// itself.

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>

class TTransparentBitmap : public QWidget {
    Q_OBJECT
    // The picture. Window layouts load it through `picture` instead, which
    // leaves the stored size alone.
    Q_PROPERTY(QImage BitMap READ bitMap WRITE setBitMap STORED false DESIGNABLE false)
    // A colour value: RGB with red in the lowest byte (silver is 0x00C0C0C0);
    // a negative value (a system colour, or -1) means no transparency.
    Q_PROPERTY(qint32 TransparentColor READ transparentColor WRITE setTransparentColor)
    Q_PROPERTY(bool Stretch READ stretch WRITE setStretch)
    // The colour that shows through the transparent pixels: always the
    // container's.
    Q_PROPERTY(QColor Color READ color STORED false DESIGNABLE false)
    // A picture file or resource path, such as ":/pictures/circle.bmp".
    Q_PROPERTY(QString picture READ picture WRITE setPicture)
    // Draws a dashed outline of the control over the picture, as a window
    // designer shows it.
    Q_PROPERTY(bool designMode READ designMode WRITE setDesignMode)

public:
    explicit TTransparentBitmap(QWidget* parent = nullptr);

    // The control's own picture. Changes made to it in place show at the
    // next paint; they neither resize nor repaint the control.
    [[nodiscard]] QImage& bitMap() { return picture_; }
    [[nodiscard]] const QImage& bitMap() const { return picture_; }
    // Copies `source` (a null image leaves the picture empty), gives the
    // control the picture's size (32 for a dimension that is 0) and repaints.
    // The parameter's type admits only pictures, so a source of a kind that
    // cannot be copied into one never gets here; there is nothing to refuse.
    void setBitMap(const QImage& source);

    [[nodiscard]] qint32 transparentColor() const { return transparentColor_; }
    void setTransparentColor(qint32 value);

    [[nodiscard]] bool stretch() const { return stretch_; }
    void setStretch(bool value);

    [[nodiscard]] QColor color() const;

    [[nodiscard]] QString picture() const { return picturePath_; }
    // Reads the picture from `path` into the control's picture without
    // resizing the control; the size set before holds until the next paint.
    void setPicture(const QString& path);

    [[nodiscard]] bool designMode() const { return designMode_; }
    void setDesignMode(bool value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The picture as it is put on the control: transparent pixels in
    // `background`, scaled to `area`. Kept until one of its inputs changes.
    const QImage& composed(QSize area, QColor background);

    QImage picture_;
    qint32 transparentColor_ = -1;
    bool stretch_ = false;
    bool designMode_ = false;
    QString picturePath_;

    QImage composed_;
    qint64 composedPicture_ = 0;
    qint32 composedKey_ = -1;
    QRgb composedBackground_ = 0;
};
