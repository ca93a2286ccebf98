#include "print.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>

#include <stdexcept>

namespace platform {

namespace {

[[noreturn]] void fail(const QString& message)
{
    throw std::runtime_error(message.toStdString());
}

// The printer as a message names it.
QString printerLabel(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::NativeFormat ? printer.printerName()
                                                            : printer.outputFileName();
}

} // namespace

void printPage(const PagePainter& paint)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        fail(QStringLiteral("Není nastavena žádná výchozí tiskárna"));
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        fail(QStringLiteral("Tiskárnu „%1“ nelze použít").arg(info.printerName()));
    if (printer.outputFormat() != QPrinter::NativeFormat)
        fail(QStringLiteral("Tiskárna „%1“ není dostupná přes tiskový systém")
                 .arg(info.printerName()));
    printer.setDocName(QString());
    printer.setCopyCount(1);
    printer.setPageOrientation(QPageLayout::Portrait);
    // The least margins the printer needs: the page starts at the top-left
    // corner of the printable area.
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
    printPage(printer, paint);
}

void printPage(QPrinter& printer, const PagePainter& paint)
{
    // Shown while the page is produced; it has no button.
    QProgressDialog progress(QStringLiteral("Tisk..."), QString(), 0, 0);
    progress.setWindowTitle(QStringLiteral("Tisk"));
    progress.show();
    // Let it paint; nothing the user does is handled meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    QPainter painter;
    if (!painter.begin(&printer))
        fail(QStringLiteral("Tisk na tiskárně „%1“ se nepodařilo zahájit")
                 .arg(printerLabel(printer)));
    paint(painter);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        fail(QStringLiteral("Tisk na tiskárně „%1“ se nepodařilo dokončit")
                 .arg(printerLabel(printer)));
}

} // namespace platform
