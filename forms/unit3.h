#pragma once
// The report form: never shown, it only holds the design sheet, a table of
// items painted on one page. The main window's print button writes the
// value items (FolioLabel25 to FolioLabel34 and FolioLabel36) and prints
// the sheet with Folio1().

#include "platform/tform.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QLocale>
#include <QRect>
#include <QString>

#include <vector>

class QPainter;

class TForm3 : public platform::TForm {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    // The value items' texts: their placeholders until the print button
    // writes them, then the texts of the last print.
    QString FolioLabel25, FolioLabel26, FolioLabel27, FolioLabel28, FolioLabel29, FolioLabel30,
        FolioLabel31, FolioLabel32, FolioLabel33, FolioLabel34, FolioLabel36;
    // The sketch of the enclosure, shown unstretched in its box.
    QImage Image1;

    enum class Kind { Text, DateTime, Picture };
    // An item as it lands on the page: its box in layout units (1/96 inch)
    // from the sheet's top-left corner, its text, font and colour.
    struct Item {
        const char* name;
        Kind kind;
        QRect box;
        QString text;
        QFont font;
        QColor colour;
    };
    // The sheet's items at `moment`, the date/time written as `locale` does.
    std::vector<Item> items(const QDateTime& moment, const QLocale& locale) const;

    // Paints the sheet with its top-left corner at the painter's origin,
    // layout units scaled to the resolution of the device painted on.
    void paint(QPainter& painter, const QDateTime& moment = QDateTime::currentDateTime(),
               const QLocale& locale = QLocale::system()) const; // locale-ok: the date/time text

    // The print operation: the sheet, dated now, straight to the default
    // printer. Throws when it cannot be printed.
    void Folio1() const;
};

// The date/time item's date and time: the locale's short date, a blank and
// the time as the locale's time format writes the hours (leading zero,
// 12-hour clock with its AM/PM designator after the seconds) and their
// separator, minutes and seconds in two digits. The date alone at 00:00:00.
QString dateTimeText(const QDateTime& moment, const QLocale& locale);

extern TForm3* Form3;
