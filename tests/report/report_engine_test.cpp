// The report engine on its own: the text of the date/time item under
// different locales and clocks, and the mapping of layout units to the
// resolution of the device painted on.

#include "platform/report/report.h"

#include <QFont>
#include <QtTest>

namespace {

using platform::report::Font;
using platform::report::Report;

QDateTime at(int h, int m, int s, int ms = 0)
{
    return QDateTime(QDate(2024, 3, 7), QTime(h, m, s, ms));
}

Font arial(int height, bool bold = false)
{
    Font font;
    font.family = QStringLiteral("Arial CE");
    font.height = height;
    font.bold = bold;
    return font;
}

QRect inkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

class ReportEngineTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QFont::insertSubstitution(QStringLiteral("Arial CE"), QStringLiteral("Liberation Sans"));
    }

    void dateTimeText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("expected");
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
        // Another time separator ("H.mm.ss").
        QTest::newRow("fi morning") << "fi_FI" << at(9, 5, 9) << "7.3.2024 9.05.09";
        // 12-hour with AM/PM ("h:mm:ss AP").
        QTest::newRow("us 00:30") << "en_US" << at(0, 30, 5) << "3/7/24 12:30:05 AM";
        QTest::newRow("us 00:00:01") << "en_US" << at(0, 0, 1) << "3/7/24 12:00:01 AM";
        QTest::newRow("us morning") << "en_US" << at(9, 5, 9) << "3/7/24 9:05:09 AM";
        QTest::newRow("us 11:59:59") << "en_US" << at(11, 59, 59) << "3/7/24 11:59:59 AM";
        QTest::newRow("us noon") << "en_US" << at(12, 0, 0) << "3/7/24 12:00:00 PM";
        QTest::newRow("us 12:45") << "en_US" << at(12, 45, 30) << "3/7/24 12:45:30 PM";
        QTest::newRow("us 13:01") << "en_US" << at(13, 1, 2) << "3/7/24 1:01:02 PM";
        QTest::newRow("us 23:59:59") << "en_US" << at(23, 59, 59) << "3/7/24 11:59:59 PM";
        QTest::newRow("us midnight") << "en_US" << at(0, 0, 0) << "3/7/24";
    }
    void dateTimeText()
    {
        QFETCH(QString, locale);
        QFETCH(QDateTime, moment);
        QFETCH(QString, expected);
        QCOMPARE(platform::report::dateTimeText(moment, QLocale(locale)), expected);
    }

    void dateTimeItemText()
    {
        Report report(QStringLiteral("r"));
        auto& item = report.addBand(QStringLiteral("b"), 50)
                         .addDateTime(QStringLiteral("d"), QRect(10, 10, 281, 17),
                                      QStringLiteral("Výpočet proveden : "), arial(13));
        item.setLocale(QLocale(QStringLiteral("en_US")));
        QDateTime now = at(0, 15, 0);
        item.setClock([&now] { return now; });
        QCOMPARE(item.text(), QStringLiteral("Výpočet proveden : 3/7/24 12:15:00 AM"));
        // The text is made when asked for: the clock is read each time.
        now = at(0, 0, 0);
        QCOMPARE(item.text(), QStringLiteral("Výpočet proveden : 3/7/24"));
    }

    // Bands stack from the top; an item's page rectangle adds its band's top.
    void bandsStack()
    {
        Report report(QStringLiteral("r"));
        report.addBand(QStringLiteral("a"), 89);
        auto& b = report.addBand(QStringLiteral("b"), 504);
        auto& text =
            b.addText(QStringLiteral("t"), QPoint(24, 48), QStringLiteral("Fs "), arial(13));
        QCOMPARE(b.top(), 89);
        QCOMPARE(report.size(), QSize(1200, 593));
        QCOMPARE(Report::pageRect(text).topLeft(), QPoint(24, 89 + 48));
        QCOMPARE(report.item(QStringLiteral("t")), &text);
        QVERIFY(report.item(QStringLiteral("nope")) == nullptr);
    }

    // A text item sizes itself to its text: the width grows with the text
    // and the height is the font's line height.
    void textItemSizesToText_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<int>("lineHeight");
        QTest::newRow("13 regular") << 13 << false << 15;
        QTest::newRow("13 bold") << 13 << true << 15;
        QTest::newRow("16 bold") << 16 << true << 17;
        QTest::newRow("21 bold") << 21 << true << 23;
    }
    void textItemSizesToText()
    {
        QFETCH(int, height);
        QFETCH(bool, bold);
        QFETCH(int, lineHeight);
        Report report(QStringLiteral("r"));
        auto& item = report.addBand(QStringLiteral("b"), 100)
                         .addText(QStringLiteral("t"), QPoint(5, 7), QStringLiteral("XXX"),
                                  arial(height, bold));
        const QRect three = item.rect();
        QCOMPARE(three.height(), lineHeight);
        item.setText(QStringLiteral("XXXXXX"));
        QCOMPARE(item.rect().topLeft(), QPoint(5, 7));
        QVERIFY(qAbs(item.rect().width() - 2 * three.width()) <= 1);
        item.setText(QString());
        QCOMPARE(item.rect().width(), 0);
    }

    // The same report on a device of twice the resolution covers twice the
    // pixels, at twice the offsets.
    void layoutUnitsFollowTheDevice_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::newRow("96") << 96;
        QTest::newRow("192") << 192;
        QTest::newRow("300") << 300;
    }
    void layoutUnitsFollowTheDevice()
    {
        QFETCH(int, dpi);
        Report report(QStringLiteral("r"));
        report.addBand(QStringLiteral("a"), 40);
        auto& band = report.addBand(QStringLiteral("b"), 200);
        QImage block(30, 20, QImage::Format_RGB32);
        block.fill(Qt::black);
        band.addPicture(QStringLiteral("p"), QRect(100, 50, 30, 10), block);
        const double k = dpi / 96.0;
        const QImage image = report.toImage(dpi, QSize(int(300 * k), int(300 * k)));
        const QRect ink = inkBounds(image);
        // The 30 x 20 picture cut to its 30 x 10 box at (100, 40 + 50).
        QVERIFY(qAbs(ink.left() - 100 * k) <= 1);
        QVERIFY(qAbs(ink.top() - 90 * k) <= 1);
        QVERIFY(qAbs(ink.width() - 30 * k) <= 1);
        QVERIFY(qAbs(ink.height() - 10 * k) <= 1);
    }

    void textScalesWithTheDevice()
    {
        Report report(QStringLiteral("r"));
        auto& item = report.addBand(QStringLiteral("b"), 100)
                         .addText(QStringLiteral("t"), QPoint(20, 30),
                                  QStringLiteral("Rezonanční kmitočet reproduktoru -"), arial(13));
        const QRect at96 = inkBounds(report.toImage(96, QSize(300, 100)));
        const QRect at288 = inkBounds(report.toImage(288, QSize(900, 300)));
        QVERIFY(!at96.isEmpty());
        QVERIFY(QRect(item.rect()).adjusted(-1, -1, 1, 1).contains(at96));
        QVERIFY(qAbs(at288.left() - 3 * at96.left()) <= 3);
        QVERIFY(qAbs(at288.top() - 3 * at96.top()) <= 4);
        QVERIFY(qAbs(at288.width() - 3 * at96.width()) <= 4);
        QVERIFY(qAbs(at288.height() - 3 * at96.height()) <= 4);
    }
};

QTEST_MAIN(ReportEngineTest)
#include "report_engine_test.moc"
