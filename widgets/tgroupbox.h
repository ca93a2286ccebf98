#pragma once
// A group box that draws its caption in its own colour; the controls inside
// keep their own fonts and colours.

#include <QColor>
#include <QGroupBox>

class TGroupBox : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(QColor captionColor READ captionColor WRITE setCaptionColor)

public:
    explicit TGroupBox(QWidget* parent = nullptr);

    [[nodiscard]] QColor captionColor() const { return captionColor_; }
    void setCaptionColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor captionColor_;
};
