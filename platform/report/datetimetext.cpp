#include "platform/report/datetimetext.h"

namespace platform::report {

namespace {

// Reads a quoted literal of a Qt date/time format starting at the opening
// quote `i`; returns its text and moves `i` past the closing quote. Two
// quotes in a row stand for one quote character.
QString quotedLiteral(const QString& format, qsizetype& i)
{
    const qsizetype n = format.size();
    if (i + 1 < n && format[i + 1] == u'\'') {
        i += 2;
        return QStringLiteral("'");
    }
    QString text;
    ++i;
    while (i < n) {
        if (format[i] == u'\'') {
            if (i + 1 < n && format[i + 1] == u'\'') {
                text += u'\'';
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        text += format[i];
        ++i;
    }
    return text;
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

TimeConvention timeConvention(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    TimeConvention result;
    bool hourSeen = false;
    bool collectingSeparator = false;
    bool upperH = false;
    bool lowerH = false;
    bool amPm = false;
    QString separator;

    const qsizetype n = format.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = format[i];
        if (c == u'\'') {
            const QString literal = quotedLiteral(format, i);
            if (collectingSeparator)
                separator += literal;
            continue;
        }
        if (c.isLetter()) {
            qsizetype j = i;
            while (j < n && format[j] == c)
                ++j;
            if (c == u'H' || c == u'h') {
                if (!hourSeen) {
                    hourSeen = true;
                    result.leadingZero = j - i >= 2;
                    collectingSeparator = true;
                }
                (c == u'H' ? upperH : lowerH) = true;
            } else {
                collectingSeparator = false;
                if (c == u'A' || c == u'a')
                    amPm = true;
            }
            i = j;
            continue;
        }
        if (collectingSeparator)
            separator += c;
        ++i;
    }

    result.twelveHour = amPm || (lowerH && !upperH);
    if (!separator.isEmpty())
        result.separator = separator;
    return result;
}

QString dateTimeText(const QDateTime& moment, const QLocale& locale)
{
    const QDate date = moment.date();
    const QTime time = moment.time();
    QString text = locale.toString(date, QLocale::ShortFormat);
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return text;

    const TimeConvention convention = timeConvention(locale);
    int hours = time.hour();
    if (convention.twelveHour) {
        hours %= 12;
        if (hours == 0)
            hours = 12;
    }
    text += u' ';
    text += convention.leadingZero ? twoDigits(hours) : QString::number(hours);
    text += convention.separator;
    text += twoDigits(time.minute());
    text += convention.separator;
    text += twoDigits(time.second());
    if (convention.twelveHour) {
        text += u' ';
        text += time.hour() < 12 ? locale.amText() : locale.pmText();
    }
    return text;
}

} // namespace platform::report
