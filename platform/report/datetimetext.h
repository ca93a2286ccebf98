#pragma once
// The date and time as the report's date/time item writes them: the date in
// the locale's short date format, a blank and the time as the locale writes
// it (leading zero of the hours, time separator, 12- or 24-hour clock with
// its AM/PM designator), minutes and seconds always in two digits. At
// exactly midnight the date stands alone.

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace platform::report {

// How the locale writes the time of day, read from its long time format.
struct TimeConvention {
    bool leadingZero = false; // "HH"/"hh" rather than "H"/"h"
    bool twelveHour = false;  // hours 1 to 12 with the AM/PM designator
    QString separator = QStringLiteral(":");
};

TimeConvention timeConvention(const QLocale& locale);

// "<date> <time>", or "<date>" at 00:00:00.
QString dateTimeText(const QDateTime& moment, const QLocale& locale);

} // namespace platform::report
