#include "tgroupbox.h"

#include <QStyleOptionGroupBox>
#include <QStylePainter>

TGroupBox::TGroupBox(QWidget* parent) : QGroupBox(parent)
{ }

void TGroupBox::setCaptionColor(const QColor& color)
{
    captionColor_ = color;
    update();
}

void TGroupBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    if (captionColor_.isValid()) {
        // Styles take the caption colour from one or the other.
        option.textColor = captionColor_;
        option.palette.setColor(QPalette::WindowText, captionColor_);
    }
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}
