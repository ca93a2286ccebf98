#include "sheettest.h"

#include <QPainter>

#include <cmath>

namespace sheettest {

QDateTime fixedMoment()
{
    return QDateTime(QDate(2024, 3, 7), QTime(14, 5, 9));
}

QLocale czech()
{
    return QLocale(QStringLiteral("cs_CZ"));
}

void fillTypicalValues(TForm3& form)
{
    for (const Value& v : typicalValues)
        form.*v.item = QString::fromUtf8(v.text);
}

QImage render(const TForm3& form, int dpi, QSize size, const QDateTime& moment)
{
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    form.paint(painter, moment, czech());
    painter.end();
    return image;
}

} // namespace sheettest
