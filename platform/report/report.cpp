#include "platform/report/report.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform::report {

namespace {

[[noreturn]] void fail(const QString& message)
{
    throw PrintError(message.toStdString());
}

// The printer as a message names it.
QString printerLabel(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::NativeFormat ? printer.printerName()
                                                            : printer.outputFileName();
}

// The small window that says a job is being produced. It is modeless and
// has no button: it only shows while the page is made and closes after.
class ProgressDisplay {
public:
    explicit ProgressDisplay(bool wanted)
    {
        if (!wanted || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
            return;
        dialog_ = std::make_unique<QProgressDialog>();
        dialog_->setWindowTitle(QStringLiteral("Tisk"));
        dialog_->setLabelText(QStringLiteral("Tisk..."));
        dialog_->setCancelButton(nullptr);
        dialog_->setWindowModality(Qt::NonModal);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setMinimumDuration(0);
        dialog_->setRange(0, 1);
        dialog_->setValue(0);
        dialog_->show();
        // Let it paint; nothing the user does is handled meanwhile.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    ~ProgressDisplay()
    {
        if (dialog_)
            dialog_->close();
    }
    ProgressDisplay(const ProgressDisplay&) = delete;
    ProgressDisplay& operator=(const ProgressDisplay&) = delete;

    void pageDone()
    {
        if (dialog_)
            dialog_->setValue(1);
    }

private:
    std::unique_ptr<QProgressDialog> dialog_;
};

} // namespace

// ---- Font -------------------------------------------------------------------

QFont Font::qfont() const
{
    QFont font(family);
    font.setPixelSize(height);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    // Glyph advances hinted at the layout size: the text is laid out alike
    // on the screen, in a PDF and on the printer, and its width matches the
    // sizes the sheet was designed with.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// ---- Items ------------------------------------------------------------------

Item::Item(QString name, QRect rect) : rect_(rect), name_(std::move(name))
{ }

Item::~Item() = default;

TextItem::TextItem(QString name, QPoint position, QString text, Font font)
    : Item(std::move(name), QRect(position, QSize())),
      text_(std::move(text)),
      font_(std::move(font))
{
    autoSize();
}

void TextItem::setText(const QString& text)
{
    text_ = text;
    autoSize();
}

void TextItem::autoSize()
{
    const QFont font = font_.qfont();
    const QFontMetricsF metrics(font);
    const int width = static_cast<int>(std::ceil(metrics.horizontalAdvance(text_)));
    rect_.setSize(QSize(width, QFontMetrics(font).height()));
}

void TextItem::paint(QPainter& painter) const
{
    const QFont font = font_.qfont();
    painter.fillRect(rect_, Qt::white);
    painter.setFont(font);
    painter.setPen(font_.colour);
    painter.drawText(QPointF(rect_.left(), rect_.top() + QFontMetrics(font).ascent()), text_);
}

DateTimeItem::DateTimeItem(QString name, QRect rect, QString prefix, Font font)
    : Item(std::move(name), rect),
      prefix_(std::move(prefix)),
      font_(std::move(font)),
      clock_([] { return QDateTime::currentDateTime(); }),
      locale_(QLocale::system()) // locale-ok: the date and time follow the user's locale
{ }

void DateTimeItem::setClock(Clock clock)
{
    clock_ = std::move(clock);
}

void DateTimeItem::setLocale(const QLocale& locale)
{
    locale_ = locale;
}

QString DateTimeItem::text() const
{
    return prefix_ + dateTimeText(clock_(), locale_);
}

void DateTimeItem::paint(QPainter& painter) const
{
    const QFont font = font_.qfont();
    painter.fillRect(rect_, Qt::white);
    painter.save();
    painter.setClipRect(rect_, Qt::IntersectClip);
    painter.setFont(font);
    painter.setPen(font_.colour);
    painter.drawText(QPointF(rect_.left(), rect_.top() + QFontMetrics(font).ascent()), text());
    painter.restore();
}

PictureItem::PictureItem(QString name, QRect rect, QImage image)
    : Item(std::move(name), rect), image_(std::move(image))
{ }

void PictureItem::setImage(const QImage& image)
{
    image_ = image;
}

void PictureItem::paint(QPainter& painter) const
{
    if (image_.isNull())
        return;
    // Unstretched: only the part of the picture that fits the box.
    const int width = std::min(image_.width(), rect_.width());
    const int height = std::min(image_.height(), rect_.height());
    painter.drawImage(QRect(rect_.topLeft(), QSize(width, height)), image_,
                      QRect(0, 0, width, height));
}

// ---- Band -------------------------------------------------------------------

Band::Band(QString name, int height, int width, QColor colour)
    : name_(std::move(name)), height_(height), width_(width), colour_(colour)
{ }

void Band::adopt(std::unique_ptr<Item> item)
{
    item->band_ = this;
    items_.push_back(std::move(item));
}

TextItem& Band::addText(const QString& name, QPoint position, const QString& text, const Font& font)
{
    return add(std::make_unique<TextItem>(name, position, text, font));
}

DateTimeItem& Band::addDateTime(const QString& name, QRect rect, const QString& prefix,
                                const Font& font)
{
    return add(std::make_unique<DateTimeItem>(name, rect, prefix, font));
}

PictureItem& Band::addPicture(const QString& name, QRect rect, const QImage& image)
{
    return add(std::make_unique<PictureItem>(name, rect, image));
}

void Band::paint(QPainter& painter) const
{
    painter.fillRect(QRect(0, 0, width_, height_), colour_);
    for (const auto& item : items_) {
        painter.save();
        item->paint(painter);
        painter.restore();
    }
}

// ---- Report -----------------------------------------------------------------

Report::Report(QString name) : name_(std::move(name))
{ }

Band& Report::addBand(const QString& name, int height, int width, QColor colour)
{
    auto band = std::make_unique<Band>(name, height, width, colour);
    band->top_ = size().height();
    bands_.push_back(std::move(band));
    return *bands_.back();
}

Band* Report::band(const QString& name) const
{
    for (const auto& band : bands_)
        if (band->name() == name)
            return band.get();
    return nullptr;
}

Item* Report::item(const QString& name) const
{
    for (const auto& band : bands_)
        for (const auto& item : band->items())
            if (item->name() == name)
                return item.get();
    return nullptr;
}

QRect Report::pageRect(const Item& item)
{
    const int top = item.band() ? item.band()->top() : 0;
    return item.rect().translated(0, top);
}

QSize Report::size() const
{
    QSize size(0, 0);
    for (const auto& band : bands_) {
        size.setWidth(std::max(size.width(), band->width()));
        size.rheight() += band->height();
    }
    return size;
}

void Report::render(QPainter& painter, QPointF origin) const
{
    const QPaintDevice* device = painter.device();
    const double scaleX = device ? device->logicalDpiX() / double(unitsPerInch) : 1.0;
    const double scaleY = device ? device->logicalDpiY() / double(unitsPerInch) : 1.0;

    painter.save();
    painter.translate(origin);
    painter.scale(scaleX, scaleY);
    for (const auto& band : bands_) {
        painter.save();
        painter.translate(0, band->top());
        band->paint(painter);
        painter.restore();
    }
    painter.restore();
}

QImage Report::toImage(int dpi, QSize size) const
{
    if (size.isEmpty()) {
        const QSize units = this->size();
        size = QSize(static_cast<int>(std::ceil(units.width() * double(dpi) / unitsPerInch)),
                     static_cast<int>(std::ceil(units.height() * double(dpi) / unitsPerInch)));
    }
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    render(painter);
    painter.end();
    return image;
}

void Report::print() const
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

    printer.setDocName(settings_.title);
    printer.setCopyCount(1);
    printer.setFullPage(false);
    printer.setPageOrientation(settings_.orientation);
    // The page's margins are the least the printer needs: the sheet starts
    // at the top-left corner of the printable area.
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
    print(printer);
}

void Report::print(QPrinter& printer) const
{
    ProgressDisplay progress(settings_.showProgress);

    QPainter painter;
    if (!painter.begin(&printer))
        fail(QStringLiteral("Tisk na tiskárně „%1“ se nepodařilo zahájit")
                 .arg(printerLabel(printer)));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double left = settings_.leftMarginMm / 25.4 * printer.logicalDpiX();
    render(painter, QPointF(left, 0));
    progress.pageDone();
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        fail(QStringLiteral("Tisk na tiskárně „%1“ se nepodařilo dokončit")
                 .arg(printerLabel(printer)));
}

} // namespace platform::report
