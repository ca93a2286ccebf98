#pragma once
// A push button with a picture: a bitmap holding the normal and the
// disabled image side by side, its bottom-left pixel's colour transparent,
// shown left of the caption.
//
// Forms connect to activated(), not clicked(): a close-kind button closes
// its window instead; any other button emits activated().

#include <QPushButton>
#include <QStyle>

class TBitBtn : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QString glyph READ glyph WRITE setGlyph)
    Q_PROPERTY(Kind kind READ kind WRITE setKind)
    Q_PROPERTY(QStyle::StandardPixmap standardGlyph READ standardGlyph WRITE setStandardGlyph)

public:
    enum Kind { Custom, Close };
    Q_ENUM(Kind)

    explicit TBitBtn(QWidget* parent = nullptr);

    // A resource path such as ":/pictures/printer.bmp".
    [[nodiscard]] QString glyph() const { return glyph_; }
    void setGlyph(const QString& path);
    // Sets the picture straight from an image: width / height images side by side.
    void setGlyphImage(const QImage& image);

    // One of the style's standard pictures instead of a bitmap.
    [[nodiscard]] QStyle::StandardPixmap standardGlyph() const { return standardGlyph_; }
    void setStandardGlyph(QStyle::StandardPixmap pixmap);

    [[nodiscard]] Kind kind() const { return kind_; }
    void setKind(Kind kind) { kind_ = kind; }

signals:
    // The click handler's signal (OnClick).
    void activated();

private:
    void handleClick();

    QString glyph_;
    QStyle::StandardPixmap standardGlyph_ = QStyle::SP_CustomBase;
    Kind kind_ = Custom;
};
