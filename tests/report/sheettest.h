#pragma once
// What the sheet tests and the print driver share: the program's font
// substitutes, a fixed clock, a typical set of filled values and a stand-in
// for the sketch while the program's own picture is not there.

#include "forms/unit3.h"
#include "platform/fonts.h"

#include <QDateTime>
#include <QImage>
#include <QLocale>
#include <QPainter>

namespace sheettest {

inline QDateTime fixedMoment()
{
    return QDateTime(QDate(2024, 3, 7), QTime(14, 5, 9));
}

// The date/time item reads the fixed moment, written the Czech way.
inline void fixClock(TForm3& form)
{
    form.FolioSysData2->setClock([] { return fixedMoment(); });
    form.FolioSysData2->setLocale(QLocale(QStringLiteral("cs_CZ")));
}

struct Value {
    const char* item;
    const char* text;
};

// The eleven value items as the print button fills them for one design.
inline constexpr Value typicalValues[] = {
    {"FolioLabel25", "32 Hz"},    {"FolioLabel26", "0.38"},
    {"FolioLabel27", "84 l"},     {"FolioLabel28", "5.6 Ohm"},
    {"FolioLabel29", "0 Ohm"},    {"FolioLabel30", "19.6350 cm2"},
    {"FolioLabel31", "50 l"},     {"FolioLabel32", " 12.4711 cm"},
    {"FolioLabel33", "  0.6123"}, {"FolioLabel34", " 35.2140 Hz"},
    {"FolioLabel36", "ANO"},
};

inline void fillTypicalValues(TForm3& form)
{
    for (const Value& v : typicalValues)
        form.setItemText(QString::fromUtf8(v.item), QString::fromUtf8(v.text));
}

// A black-on-white drawing of the sketch's size (120 x 228) whose lines
// keep to rows 12 to 208 and columns 2 to 117.
inline QImage standInSketch()
{
    QImage image(120, 228, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 3));
    p.drawRect(QRect(10, 30, 100, 170));
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(2, 12, 60, 40);
    p.drawLine(20, 150, 117, 150);
    p.drawLine(20, 160, 117, 160);
    p.drawLine(60, 160, 30, 208);
    return image;
}

inline void ensureSketch(TForm3& form)
{
    if (form.Image1->image().isNull())
        form.Image1->setImage(standInSketch());
}

} // namespace sheettest
