#pragma once
// What the sheet tests, the print driver and the benchmarks share: a fixed
// moment written the Czech way, a typical set of filled values and the
// sheet rendered on a white image.

#include "forms/unit3.h"

#include <QDateTime>
#include <QImage>
#include <QLocale>

namespace sheettest {

QDateTime fixedMoment();
QLocale czech();

struct Value {
    const char* name;
    QString TForm3::*item;
    const char* text;
};

// The eleven value items as the print button fills them for one design.
inline constexpr Value typicalValues[] = {
    {"FolioLabel25", &TForm3::FolioLabel25, "32 Hz"},
    {"FolioLabel26", &TForm3::FolioLabel26, "0.38"},
    {"FolioLabel27", &TForm3::FolioLabel27, "84 l"},
    {"FolioLabel28", &TForm3::FolioLabel28, "5.6 Ohm"},
    {"FolioLabel29", &TForm3::FolioLabel29, "0 Ohm"},
    {"FolioLabel30", &TForm3::FolioLabel30, "19.6350 cm2"},
    {"FolioLabel31", &TForm3::FolioLabel31, "50 l"},
    {"FolioLabel32", &TForm3::FolioLabel32, " 12.4711 cm"},
    {"FolioLabel33", &TForm3::FolioLabel33, "  0.6123"},
    {"FolioLabel34", &TForm3::FolioLabel34, " 35.2140 Hz"},
    {"FolioLabel36", &TForm3::FolioLabel36, "ANO"},
};

void fillTypicalValues(TForm3& form);

// The sheet at `moment` on a white image of `size` pixels at `dpi`.
QImage render(const TForm3& form, int dpi, QSize size, const QDateTime& moment = fixedMoment());

} // namespace sheettest
