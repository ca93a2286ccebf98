// The design sheet of the report form: where its items land, what they say,
// in which font, style and colour, on images of several resolutions and in
// a PDF painted by the same routine; and the text of its date and time.

#include "sheettest.h"

#include "platform/application.h"
#include "platform/fonts.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

enum class Colour { Black, Blue, Red };

// The text items from top to bottom, in reading order, as designed and as
// printed: the text of each (the value items holding their placeholders)
// and where its first word starts, in points from the page's top-left
// corner, as pdftotext -bbox measured it once on the PDF that
// pdfTextsAndPositions prints; the width of the text in the designed font
// (0: the text is this program's own); style and colour.
struct Expected {
    const char* name;
    const char* text;
    double x;
    double y;
    int width;
    bool bold;
    bool underlined;
    Colour colour;
};

// clang-format off
const Expected sheet[] = {
    {"FolioLabel1",  "Návrh basreflexové ozvučnice",                                  18.00,  35.99, 317, true,  true,  Colour::Blue},
    {"FolioLabel12", "ZÁKLADNÍ ÚDAJE :",                                              18.00,  84.92, 135, true,  true,  Colour::Black},
    {"FolioLabel2",  "Rezonanční kmitočet reproduktoru -",                            18.00, 102.92, 207, false, false, Colour::Black},
    {"FolioLabel21", "Fs",                                                           204.00, 102.92,  19, false, false, Colour::Black},
    {"FolioLabel25", "XX",                                                           228.00, 102.92,  20, true,  false, Colour::Black},
    {"FolioLabel3",  "Celkový činitel jakosti reproduktoru -",                        18.00, 120.92, 211, false, false, Colour::Black},
    {"FolioLabel24", "Qts",                                                          204.00, 120.92,  21, false, false, Colour::Black},
    {"FolioLabel26", "XXX",                                                          228.00, 120.92,  30, true,  false, Colour::Black},
    {"FolioLabel4",  "Ekvivalentní objem reproduktoru -",                             18.00, 138.92, 195, false, false, Colour::Black},
    {"FolioLabel22", "Vas",                                                          204.00, 138.92,  23, false, false, Colour::Black},
    {"FolioLabel27", "XXX",                                                          228.00, 138.92,  30, true,  false, Colour::Black},
    {"FolioLabel5",  "Stejnosměrný odpor cívky reproduktoru -",                       18.00, 156.92, 236, false, false, Colour::Black},
    {"FolioLabel23", "Rdc",                                                          204.00, 156.92,  23, false, false, Colour::Black},
    {"FolioLabel28", "XXX",                                                          228.00, 156.92,  30, true,  false, Colour::Black},
    {"FolioLabel6",  "Stejnosměrný odpor cívky tlumivky -",                           18.00, 174.92, 213, false, false, Colour::Black},
    {"FolioLabel15", "Re",                                                           204.00, 174.92,  16, false, false, Colour::Black},
    {"FolioLabel29", "XXX",                                                          228.00, 174.92,  30, true,  false, Colour::Black},
    {"FolioLabel7",  "DOPLŇUJÍCÍ ÚDAJE :",                                            18.00, 204.92, 150, true,  true,  Colour::Black},
    {"FolioLabel8",  "Průřezová plocha nátrubku -",                                   18.00, 222.92, 163, false, false, Colour::Black},
    {"FolioLabel16", "S",                                                            186.00, 222.92,   9, false, false, Colour::Black},
    {"FolioLabel30", "XXX",                                                          210.00, 222.92,  30, true,  false, Colour::Black},
    {"FolioLabel9",  "Vnitřní objem basreflexového boxu -",                           18.00, 240.92, 209, false, false, Colour::Black},
    {"FolioLabel17", "Vb",                                                           186.00, 240.92,  16, false, false, Colour::Black},
    {"FolioLabel31", "XX",                                                           210.00, 240.92,  20, true,  false, Colour::Black},
    {"FolioLabel10", "VLASTNÍ VÝPOČET :",                                             18.00, 264.92, 147, true,  true,  Colour::Black},
    {"FolioLabel11", "Výsledná délka basreflexového nátrubku -",                      18.00, 282.92, 243, false, false, Colour::Black},
    {"FolioLabel32", "XXX",                                                          210.00, 282.92,  30, true,  false, Colour::Black},
    {"FolioLabel13", "Výsledná jakost reproduktoru -",                                18.00, 300.92, 177, false, false, Colour::Black},
    {"FolioLabel19", "Qtc",                                                          186.00, 300.92,  21, false, false, Colour::Black},
    {"FolioLabel33", "XXX",                                                          210.00, 300.92,  30, true,  false, Colour::Black},
    {"FolioLabel14", "Rezonanční kmitočet rezonátoru -",                              18.00, 318.92, 196, false, false, Colour::Black},
    {"FolioLabel20", "Fb",                                                           186.00, 318.92,  15, false, false, Colour::Black},
    {"FolioLabel34", "XXX",                                                          210.00, 318.92,  30, true,  false, Colour::Black},
    {"FolioLabel35", "Je možné zkrátit výslednou délku nátrubku ? -",                 18.00, 336.92, 268, false, false, Colour::Black},
    {"FolioLabel36", "XXX",                                                          228.00, 336.92,  30, true,  false, Colour::Black},
    {"FolioLabel18", "Výpočet je orientační, skutečné naladění ověřte měřením !",     18.00, 390.39,   0, true,  false, Colour::Red},
};
// clang-format on

// The date and time as printed, at sheettest::fixedMoment().
const Expected printedDate = {
    "FolioSysData2", "Výpočet proveden : 07.03.24 14:05:09", 18.00, 372.92, 0, false, false,
    Colour::Black};

const QRect dateBox(24, 89 + 408, 281, 17);
const QRect pictureBox(464, 89 + 136, 120, 217);
const QString fixedDateText = QStringLiteral("Výpočet proveden : 07.03.24 14:05:09");

bool isInk(QRgb p)
{
    return p != qRgb(255, 255, 255);
}

// Clearly inked, not only an antialiased fringe.
bool isStrongInk(QRgb p)
{
    return qRed(p) + qGreen(p) + qBlue(p) < 450;
}

// The hue of an inked pixel: grey, or dominated by blue or red.
Colour colourOf(QRgb p)
{
    const int r = qRed(p);
    const int g = qGreen(p);
    const int b = qBlue(p);
    if (b - std::max(r, g) > 80)
        return Colour::Blue;
    if (r - std::max(g, b) > 80)
        return Colour::Red;
    return Colour::Black;
}

// Bounding box of the ink inside `area`.
QRect inkBounds(const QImage& image, const QRect& area)
{
    QRect bounds;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (isInk(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

struct PdfWord {
    QString text;
    QRectF box; // points
};

QString unescapeXml(QString s)
{
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    s.replace(QLatin1String("&apos;"), QLatin1String("'"));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return s;
}

// The words of a PDF's first page with their boxes, as pdftotext sees them.
QList<PdfWord> pdfWords(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral(PDFTOTEXT_EXECUTABLE),
                  {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                   QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    const QString xml = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re"));
    QList<PdfWord> words;
    for (auto it = word.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        const double x0 = m.captured(1).toDouble();
        const double y0 = m.captured(2).toDouble();
        const double x1 = m.captured(3).toDouble();
        const double y1 = m.captured(4).toDouble();
        words.push_back({unescapeXml(m.captured(5)), QRectF(QPointF(x0, y0), QPointF(x1, y1))});
    }
    return words;
}

// The words of one line from x on, in reading order.
QList<PdfWord> lineFrom(const QList<PdfWord>& words, double x, double y, double tolerance)
{
    QList<PdfWord> line;
    for (const PdfWord& w : words)
        if (qAbs(w.box.top() - y) <= tolerance && w.box.left() >= x - tolerance)
            line.push_back(w);
    std::sort(line.begin(), line.end(),
              [](const PdfWord& a, const PdfWord& b) { return a.box.left() < b.box.left(); });
    return line;
}

} // namespace

class ReportSheetTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TForm3> form;

    std::vector<TForm3::Item> items(const QDateTime& moment = sheettest::fixedMoment()) const
    {
        return form->items(moment, sheettest::czech());
    }

    TForm3::Item item(const char* name, const QDateTime& moment = sheettest::fixedMoment()) const
    {
        for (const TForm3::Item& item : items(moment))
            if (qstrcmp(item.name, name) == 0)
                return item;
        qFatal("the sheet has no item %s", name);
    }

    QImage render(const QDateTime& moment = sheettest::fixedMoment()) const
    {
        return sheettest::render(*form, 96, QSize(640, 620), moment);
    }

    static QImage solidPicture()
    {
        QImage solid(120, 228, QImage::Format_RGB32);
        solid.fill(Qt::black);
        return solid;
    }

    static void addSheetRows()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(sheet)); ++i)
            QTest::newRow(sheet[i].name) << i;
    }

private slots:
    void initTestCase() { platform::installFontSubstitutes(); }

    void init()
    {
        platform::Application::reset();
        form = std::make_unique<TForm3>();
    }

    void cleanup()
    {
        form.reset();
        platform::Application::reset();
    }

    void formHoldsTheSheet()
    {
        QCOMPARE(Form3, form.get());
        QVERIFY(!form->isVisible());
        // The family resolves to the installed stand-in.
        QCOMPARE(QFontInfo(item("FolioLabel1").font).family(), QStringLiteral("Liberation Sans"));
    }

    // Width, style and colour of every text item on a 96-dpi image; the ink
    // fills its box.
    void textItemOnImage_data() { addSheetRows(); }
    void textItemOnImage()
    {
        QFETCH(int, row);
        const Expected& e = sheet[row];
        const TForm3::Item it = item(e.name);
        QCOMPARE(it.kind, TForm3::Kind::Text);
        if (e.width == 0)
            QVERIFY(!it.text.isEmpty() && !it.text.contains(u'\n'));

        const QRect box = it.box;
        if (e.width > 0) {
            if (e.bold) {
                // The design's bold face ran about a unit per character wider.
                const int chars = int(it.text.size());
                QVERIFY2(box.width() <= e.width && box.width() >= e.width - chars - 1,
                         qPrintable(QStringLiteral("width %1").arg(box.width())));
            } else {
                QVERIFY2(qAbs(box.width() - e.width) <= 1,
                         qPrintable(QStringLiteral("width %1").arg(box.width())));
            }
        }

        const QImage image = render();
        // The ink fills the box: it starts at the left edge and ends near
        // the right one, and stays inside (one pixel of antialiasing aside).
        const QRect ink = inkBounds(image, box.adjusted(-6, -6, 6, 6));
        QVERIFY2(!ink.isEmpty(), "no ink");
        QVERIFY2(box.adjusted(-1, -1, 1, 1).contains(ink),
                 qPrintable(QStringLiteral("ink %1,%2 %3x%4 outside the box")
                                .arg(ink.x())
                                .arg(ink.y())
                                .arg(ink.width())
                                .arg(ink.height())));
        QVERIFY(ink.left() - box.left() <= 2);
        if (!it.text.endsWith(u' '))
            QVERIFY2(
                box.right() - ink.right() <= 3,
                qPrintable(
                    QStringLiteral("ink ends at %1, box at %2").arg(ink.right()).arg(box.right())));

        // Colour of the strong ink.
        int strong = 0;
        int ofColour = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (!isStrongInk(p))
                    continue;
                ++strong;
                ofColour += colourOf(p) == e.colour;
            }
        QVERIFY(strong > 0);
        QVERIFY2(
            ofColour * 10 >= strong * 9,
            qPrintable(QStringLiteral("%1 of %2 pixels in the colour").arg(ofColour).arg(strong)));

        // Underlined items have a row inked across the whole text; others
        // have none.
        bool underline = false;
        for (int y = box.top(); y <= box.bottom() && !underline; ++y) {
            int inked = 0;
            for (int x = box.left(); x < box.left() + box.width(); ++x)
                inked += isStrongInk(image.pixel(x, y));
            underline = inked * 10 >= box.width() * 9;
        }
        QCOMPARE(underline, e.underlined);
    }

    // Nothing is drawn outside the items' boxes.
    void noInkOutsideItems()
    {
        sheettest::fillTypicalValues(*form);
        const QImage image = render();
        QRegion allowed;
        for (const TForm3::Item& it : items())
            allowed += it.box.adjusted(-1, -1, 1, 1);
        int stray = 0;
        QPoint first;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (isInk(image.pixel(x, y)) && !allowed.contains(QPoint(x, y)) && stray++ == 0)
                    first = QPoint(x, y);
        QVERIFY2(stray == 0,
                 qPrintable(QStringLiteral("%1 stray pixels, first at %2,%3")
                                .arg(stray)
                                .arg(first.x())
                                .arg(first.y())));
    }

    // Top to bottom in reading order: an item printed on the line of the
    // one before it (a row's label, symbol and value) lies right of it,
    // any other below it.
    void rowsInTheirOrder()
    {
        sheettest::fillTypicalValues(*form);
        for (std::size_t i = 1; i < std::size(sheet); ++i) {
            const QRect before = item(sheet[i - 1].name).box;
            const QRect box = item(sheet[i].name).box;
            if (sheet[i].y == sheet[i - 1].y) {
                QCOMPARE(box.top(), before.top());
                QVERIFY2(box.left() > before.right(), sheet[i].name);
            } else {
                QVERIFY2(box.top() > before.bottom(), sheet[i].name);
            }
        }
    }

    // Every item lies on an A4 page, also with long values.
    void nothingOffThePage()
    {
        const QRect page(QPoint(0, 0), QPageSize(QPageSize::A4).sizePixels(96));
        for (const sheettest::Value& v : sheettest::typicalValues)
            (*form).*v.item = QStringLiteral("123456789 Ohm");
        for (const TForm3::Item& it : items())
            QVERIFY2(page.contains(it.box), it.name);
    }

    // Items are opaque in the system's window colour (Qt's base colour), not
    // in a fixed white and not in the dialogs' colour; the bands stay white.
    void itemsInTheWindowColour()
    {
        QPalette palette = form->palette();
        palette.setColor(QPalette::Base, QColor(255, 255, 200));
        palette.setColor(QPalette::Window, QColor(200, 200, 200));
        form->setPalette(palette);
        const QImage image = render();
        qint64 area = 0;
        qint64 inBase = 0;
        for (const TForm3::Item& it : items()) {
            if (it.kind == TForm3::Kind::Picture)
                continue;
            for (int y = it.box.top(); y <= it.box.bottom(); ++y)
                for (int x = it.box.left(); x <= it.box.right(); ++x)
                    inBase += image.pixel(x, y) == qRgb(255, 255, 200);
            area += qint64(it.box.width()) * it.box.height();
        }
        QVERIFY2(inBase * 2 > area, qPrintable(QStringLiteral("%1 of %2").arg(inBase).arg(area)));
        QCOMPARE(image.pixel(600, 10), qRgb(255, 255, 255));
    }

    void dateTimeItem()
    {
        const TForm3::Item it = item("FolioSysData2");
        QCOMPARE(it.kind, TForm3::Kind::DateTime);
        QCOMPARE(it.box, dateBox);
        QCOMPARE(it.text, fixedDateText);
        const QImage image = render();
        const QRect ink = inkBounds(image, dateBox.adjusted(-6, -6, 6, 6));
        QVERIFY(!ink.isEmpty());
        QVERIFY(dateBox.adjusted(-1, -1, 1, 1).contains(ink));
        // The fixed box does not follow the text.
        const TForm3::Item midnight =
            item("FolioSysData2", QDateTime(QDate(2024, 3, 7), QTime(0, 0)));
        QCOMPARE(midnight.box, dateBox);
        QCOMPARE(midnight.text, QStringLiteral("Výpočet proveden : 07.03.24"));
    }

    // The date and time as the locale writes them: its short date, its
    // hours (leading zero, 12-hour clock) and time separator.
    void dateTimeText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("expected");
        auto at = [](int h, int m, int s, int ms = 0) {
            return QDateTime(QDate(2024, 3, 7), QTime(h, m, s, ms));
        };
        // 24-hour, hours without a leading zero ("H:mm:ss").
        QTest::newRow("cs afternoon") << "cs_CZ" << at(14, 5, 9) << "07.03.24 14:05:09";
        QTest::newRow("cs morning") << "cs_CZ" << at(9, 5, 9) << "07.03.24 9:05:09";
        QTest::newRow("cs after midnight") << "cs_CZ" << at(0, 0, 1) << "07.03.24 0:00:01";
        QTest::newRow("cs midnight") << "cs_CZ" << at(0, 0, 0) << "07.03.24";
        QTest::newRow("cs midnight, ms") << "cs_CZ" << at(0, 0, 0, 500) << "07.03.24";
        QTest::newRow("cs noon") << "cs_CZ" << at(12, 0, 0) << "07.03.24 12:00:00";
        // 24-hour with a leading zero ("HH:mm:ss").
        QTest::newRow("de morning") << "de_DE" << at(9, 5, 9) << "07.03.24 09:05:09";
        QTest::newRow("gb morning") << "en_GB" << at(7, 30, 0) << "07/03/2024 07:30:00";
        // Another time separator ("H.mm.ss"), and one of quoted text.
        QTest::newRow("fi morning") << "fi_FI" << at(9, 5, 9) << "7.3.2024 9.05.09";
        QTest::newRow("fr_CA morning") << "fr_CA" << at(9, 5, 9) << "2024-03-07 09 h 05 h 09";
        // 12-hour with AM/PM ("h:mm:ss AP"), the designator after the seconds.
        QTest::newRow("us 00:30") << "en_US" << at(0, 30, 5) << "3/7/24 12:30:05 AM";
        QTest::newRow("us 00:00:01") << "en_US" << at(0, 0, 1) << "3/7/24 12:00:01 AM";
        QTest::newRow("us morning") << "en_US" << at(9, 5, 9) << "3/7/24 9:05:09 AM";
        QTest::newRow("us 11:59:59") << "en_US" << at(11, 59, 59) << "3/7/24 11:59:59 AM";
        QTest::newRow("us noon") << "en_US" << at(12, 0, 0) << "3/7/24 12:00:00 PM";
        QTest::newRow("us 12:45") << "en_US" << at(12, 45, 30) << "3/7/24 12:45:30 PM";
        QTest::newRow("us 13:01") << "en_US" << at(13, 1, 2) << "3/7/24 1:01:02 PM";
        QTest::newRow("us 23:59:59") << "en_US" << at(23, 59, 59) << "3/7/24 11:59:59 PM";
        QTest::newRow("us midnight") << "en_US" << at(0, 0, 0) << "3/7/24";
        QTest::newRow("ko afternoon") << "ko_KR" << at(15, 5, 9) << "24. 3. 7. 3:05:09 오후";
    }
    void dateTimeText()
    {
        QFETCH(QString, locale);
        QFETCH(QDateTime, moment);
        QFETCH(QString, expected);
        QCOMPARE(::dateTimeText(moment, QLocale(locale)), expected);
    }

    // A value longer than its placeholder widens its item to the right and
    // is printed whole; a shorter one narrows it.
    void valueTextResizesItem_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("Fs, nine characters and unit") << 0 << "123456789 Hz";
        QTest::newRow("S, nine characters and unit") << 5 << "99999.999 cm2";
        QTest::newRow("Qtc, leading blanks") << 8 << "  0.6123";
        QTest::newRow("answer NE") << 10 << "NE";
    }
    void valueTextResizesItem()
    {
        QFETCH(int, value);
        QFETCH(QString, text);
        const char* name = sheettest::typicalValues[value].name;
        QString TForm3::*member = sheettest::typicalValues[value].item;
        const QString placeholder = item(name).text;
        QCOMPARE(placeholder, (*form).*member);
        const QRect before = item(name).box;
        const QRect placeholderInk = inkBounds(render(), before.adjusted(-2, -2, 2, 2));

        (*form).*member = text;
        QCOMPARE(item(name).text, text);
        const QRect after = item(name).box;
        QCOMPARE(after.topLeft(), before.topLeft());
        QCOMPARE(after.height(), before.height());

        const QImage image = render();
        const QRect ink = inkBounds(image, after.adjusted(-2, -2, 40, 2));
        QVERIFY(!ink.isEmpty());
        QVERIFY(after.adjusted(-1, -1, 1, 1).contains(ink));
        QVERIFY2(
            after.right() - ink.right() <= 3,
            qPrintable(
                QStringLiteral("ink ends at %1, box at %2").arg(ink.right()).arg(after.right())));
        if (text.size() > placeholder.size()) {
            QVERIFY(after.width() > before.width());
            QVERIFY(ink.right() > placeholderInk.right() + 10);
            // Ordinary values end well before the picture.
            QVERIFY(after.right() < pictureBox.left());
        } else if (text.size() < placeholder.size()) {
            QVERIFY(after.width() < before.width());
        }
        // The text's leading blanks move its ink, not the box.
        if (text.startsWith(u' '))
            QVERIFY(ink.left() > after.left() + 3);
    }

    // The picture sits in a 120 x 217 box at its own size, its top-left
    // corner at the box's; the bitmap's last 11 rows are cut off.
    void pictureBoxIsUnstretchedAndCut()
    {
        QCOMPARE(item("Image1").kind, TForm3::Kind::Picture);
        QCOMPARE(item("Image1").box, pictureBox);
        form->Image1 = solidPicture();
        const QImage image = render();
        const QRect around = pictureBox.adjusted(-5, -5, 5, 20);
        int black = 0;
        for (int y = around.top(); y <= around.bottom(); ++y)
            for (int x = around.left(); x <= around.right(); ++x) {
                const bool inside = pictureBox.contains(QPoint(x, y));
                const bool isBlack = image.pixel(x, y) == qRgb(0, 0, 0);
                if (inside && !isBlack)
                    QFAIL(qPrintable(QStringLiteral("not black at %1,%2").arg(x).arg(y)));
                if (!inside && isInk(image.pixel(x, y)))
                    QFAIL(qPrintable(QStringLiteral("ink at %1,%2").arg(x).arg(y)));
                black += isBlack;
            }
        QCOMPARE(black, 120 * 217);
    }

    // The program's sketch, one pixel per layout unit, as the bitmap has it.
    void sketchFromResources()
    {
        const QImage sketch(QStringLiteral(":/pictures/sketch.bmp"));
        QCOMPARE(sketch.size(), QSize(120, 228));
        QCOMPARE(form->Image1, sketch);
        const QImage image = render();
        for (int y = 0; y < pictureBox.height(); ++y)
            for (int x = 0; x < pictureBox.width(); ++x)
                if (image.pixel(pictureBox.topLeft() + QPoint(x, y)) != sketch.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("differs at %1,%2").arg(x).arg(y)));
    }

    // Layout units follow the resolution of the device: at k times 96 dpi
    // the picture covers k times the pixels at k times the offsets, and a
    // text's ink scales alike.
    void layoutUnitsFollowTheDevice_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::newRow("96") << 96;
        QTest::newRow("192") << 192;
        QTest::newRow("288") << 288;
    }
    void layoutUnitsFollowTheDevice()
    {
        QFETCH(int, dpi);
        const int k = dpi / 96;
        form->Image1 = solidPicture();
        const QImage image = sheettest::render(*form, dpi, QSize(640 * k, 620 * k));
        const QRect around(pictureBox.topLeft() * k - QPoint(10, 10),
                           pictureBox.size() * k + QSize(20, 20));
        QRect black;
        for (int y = around.top(); y <= around.bottom(); ++y)
            for (int x = around.left(); x <= around.right(); ++x)
                if (image.pixel(x, y) == qRgb(0, 0, 0))
                    black |= QRect(x, y, 1, 1);
        QCOMPARE(black, QRect(pictureBox.topLeft() * k, pictureBox.size() * k));

        const QRect box = item("FolioLabel2").box;
        const QRect at96 = inkBounds(render(), box.adjusted(-2, -2, 2, 2));
        const QRect scaled =
            inkBounds(image, QRect(box.topLeft() * k, box.size() * k).adjusted(-6, -6, 6, 6));
        QVERIFY(!at96.isEmpty());
        QVERIFY(qAbs(scaled.left() - k * at96.left()) <= k);
        QVERIFY(qAbs(scaled.top() - k * at96.top()) <= k + 1);
        QVERIFY(qAbs(scaled.width() - k * at96.width()) <= k + 1);
        QVERIFY(qAbs(scaled.height() - k * at96.height()) <= k + 1);
    }

    // Two prints of the same data differ only in the date and time.
    void reprintDiffersOnlyInDateTime()
    {
        sheettest::fillTypicalValues(*form);
        const QImage first = render();
        const QImage second = render(QDateTime(QDate(2024, 3, 7), QTime(14, 7, 31)));
        QRect differs;
        for (int y = 0; y < first.height(); ++y)
            for (int x = 0; x < first.width(); ++x)
                if (first.pixel(x, y) != second.pixel(x, y))
                    differs |= QRect(x, y, 1, 1);
        QVERIFY(!differs.isEmpty());
        QVERIFY(dateBox.contains(differs));
    }

    // The same routine paints a PDF: every text at its place, in points.
    void pdfTextsAndPositions()
    {
        QVERIFY2(QFile::exists(QStringLiteral(PDFTOTEXT_EXECUTABLE)), "pdftotext is missing");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
        {
            QPdfWriter writer(pdf);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter painter(&writer);
            form->paint(painter, sheettest::fixedMoment(), sheettest::czech());
        }
        const QList<PdfWord> words = pdfWords(pdf);
        QVERIFY2(!words.isEmpty(), "pdftotext found no words");

        qsizetype printedWords = 0;
        for (const Expected* line = sheet; line <= std::end(sheet); ++line) {
            const Expected& e = line == std::end(sheet) ? printedDate : *line;
            const QString text = QString::fromUtf8(e.text);
            const QStringList expected = text.split(u' ', Qt::SkipEmptyParts);
            printedWords += expected.size();
            const QList<PdfWord> found = lineFrom(words, e.x, e.y, 1.0);
            QVERIFY2(found.size() >= expected.size(), qPrintable(text + ": not at its place"));
            QStringList got;
            for (qsizetype i = 0; i < expected.size(); ++i)
                got << found[i].text;
            QCOMPARE(got.join(u' '), text);
            QVERIFY2(qAbs(found.front().box.left() - e.x) <= 1.0,
                     qPrintable(text + QStringLiteral(": at %1 pt").arg(found.front().box.left())));
        }
        QCOMPARE(words.size(), printedWords); // nothing else is written
    }
};

QTEST_MAIN(ReportSheetTest)
#include "report_sheet_test.moc"
