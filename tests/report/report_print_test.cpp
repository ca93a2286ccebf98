// Printing: failures are reported as errors, never as a silent success, and
// a job that works produces one page with a progress window shown only while
// the page is made. No print server is reachable here (CUPS_SERVER points at
// a socket that does not exist).

#include "platform/report/report.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using platform::report::Font;
using platform::report::Item;
using platform::report::PrintError;
using platform::report::Report;

QList<QProgressDialog*> visibleProgressWindows()
{
    QList<QProgressDialog*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QProgressDialog*>(w); dialog && dialog->isVisible())
            found.push_back(dialog);
    return found;
}

// An item that notes, while it is painted, which progress windows show.
class ProgressProbe : public Item {
public:
    explicit ProgressProbe(QStringList& seen)
        : Item(QStringLiteral("probe"), QRect(0, 0, 1, 1)), seen_(seen)
    { }
    void paint(QPainter&) const override
    {
        for (QProgressDialog* dialog : visibleProgressWindows())
            seen_ << dialog->labelText();
    }

private:
    QStringList& seen_;
};

void fillReport(Report& report)
{
    Font font;
    font.family = QStringLiteral("Arial CE");
    report.addBand(QStringLiteral("a"), 89)
        .addText(QStringLiteral("t"), QPoint(24, 48), QStringLiteral("Tisková zkouška"), font);
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
    void initTestCase()
    {
        QFont::insertSubstitution(QStringLiteral("Arial CE"), QStringLiteral("Liberation Sans"));
    }

    void noDefaultPrinterIsAnError()
    {
        QVERIFY2(QPrinterInfo::defaultPrinter().isNull(),
                 "a default printer is visible; the test must not reach a print server");
        Report report(QStringLiteral("Folio1"));
        fillReport(report);
        try {
            report.print();
            QFAIL("printing without a printer reported success");
        } catch (const PrintError& e) {
            const QString message = QString::fromUtf8(e.what());
            QVERIFY(message.contains(QStringLiteral("tiskárna")));
            QVERIFY(!message.endsWith(u'.'));
        }
        // Nothing is left on the screen.
        QVERIFY(visibleProgressWindows().isEmpty());
    }

    // A printer that cannot be opened: a PDF printer with no file to write,
    // which is what Qt falls back to when there is no print system.
    void printerThatCannotStartIsAnError()
    {
        Report report(QStringLiteral("Folio1"));
        fillReport(report);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString());
        QVERIFY_THROWS_EXCEPTION(PrintError, report.print(printer));
        QVERIFY(visibleProgressWindows().isEmpty());
    }

    // A job that works: one page, the progress window shown while the page
    // is painted (if the report asks for it) and gone afterwards.
    void progressWhilePrinting_data()
    {
        QTest::addColumn<bool>("showProgress");
        QTest::newRow("with progress") << true;
        QTest::newRow("without progress") << false;
    }
    void progressWhilePrinting()
    {
        QFETCH(bool, showProgress);
        QVERIFY2(QFile::exists(QStringLiteral(PDFINFO_EXECUTABLE)), "pdfinfo is missing");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString pdf = dir.filePath(QStringLiteral("job.pdf"));

        Report report(QStringLiteral("Folio1"));
        fillReport(report);
        report.settings().showProgress = showProgress;
        QStringList seen;
        report.addBand(QStringLiteral("b"), 10).add(std::make_unique<ProgressProbe>(seen));

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        report.print(printer);

        QCOMPARE(seen, showProgress ? QStringList{QStringLiteral("Tisk...")} : QStringList{});
        QVERIFY(visibleProgressWindows().isEmpty());
        QCOMPARE(pdfPages(pdf), 1);
    }
};

QTEST_MAIN(ReportPrintTest)
#include "report_print_test.moc"
