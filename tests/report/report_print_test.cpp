// Printing: failures are reported as errors, never as a silent success, and
// a job that works produces one page with a progress window shown only while
// the page is made. No print server is reachable here (CUPS_SERVER points at
// a socket that does not exist).

#include "platform/print.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

namespace {

QStringList visibleProgressWindows()
{
    QStringList found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QProgressDialog*>(w); dialog && dialog->isVisible())
            found << dialog->labelText();
    return found;
}

void paintText(QPainter& painter)
{
    painter.drawText(QPointF(24, 48), QStringLiteral("Tisková zkouška"));
}

int pdfPages(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral(PDFINFO_EXECUTABLE), {pdf});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return -1;
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    const auto m = QRegularExpression(QStringLiteral(R"(Pages:\s+(\d+))")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

class ReportPrintTest : public QObject {
    Q_OBJECT

private slots:
    void noDefaultPrinterIsAnError()
    {
        QVERIFY2(QPrinterInfo::defaultPrinter().isNull(),
                 "a default printer is visible; the test must not reach a print server");
        try {
            platform::printPage(paintText);
            QFAIL("printing without a printer reported success");
        } catch (const std::runtime_error& e) {
            const QString message = QString::fromUtf8(e.what());
            QVERIFY(message.contains(QStringLiteral("tiskárna")));
            QVERIFY(!message.endsWith(u'.'));
        }
        // Nothing is left on the screen.
        QVERIFY(visibleProgressWindows().isEmpty());
    }

    // A printer that cannot be opened, such as a PDF printer with no file
    // to write, which is what Qt falls back to when there is no print
    // system: the job is reported as not started, and nothing is painted.
    void printerThatCannotStartIsAnError_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("no file named") << QString();
        QTest::newRow("file that cannot be made") << QStringLiteral("/nonexistent/sheet.pdf");
    }

    void printerThatCannotStartIsAnError()
    {
        QFETCH(QString, file);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        bool painted = false;
        try {
            platform::printPage(printer, [&painted](QPainter&) { painted = true; });
            QFAIL("a job that cannot start reported success");
        } catch (const std::runtime_error& e) {
            const QString message = QString::fromUtf8(e.what());
            QVERIFY2(message.contains(QStringLiteral("se nepodařilo zahájit")), e.what());
        }
        QVERIFY(!painted);
        QVERIFY(visibleProgressWindows().isEmpty());
    }

    // A job that works: one page, the progress window shown while the page
    // is painted and gone afterwards.
    void progressWhilePrinting()
    {
        QVERIFY2(QFile::exists(QStringLiteral(PDFINFO_EXECUTABLE)), "pdfinfo is missing");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString pdf = dir.filePath(QStringLiteral("job.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QStringList seen;
        platform::printPage(printer, [&seen](QPainter& painter) {
            seen = visibleProgressWindows();
            paintText(painter);
        });
        QCOMPARE(seen, QStringList{QStringLiteral("Tisk...")});
        QVERIFY(visibleProgressWindows().isEmpty());
        QCOMPARE(pdfPages(pdf), 1);
    }
};

QTEST_MAIN(ReportPrintTest)
#include "report_print_test.moc"
