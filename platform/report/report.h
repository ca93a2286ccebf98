#pragma once
// The report engine: a report of one page, made of title bands that are laid
// one below the other from the top of the page, each holding items placed at
// fixed positions: texts that size themselves to their text, a date/time
// item and a picture.
//
// Positions and sizes are layout units of 1/96 inch, measured from the
// top-left corner of the item's band. Rendering maps them to the resolution
// of whatever device it paints on, so the printed page, a PDF and a 96-dpi
// image all come from the same code.
//
// The engine has no data source, no detail bands and a single column: a
// report is always exactly one page. Printing goes straight to the default
// printer, without a print dialog and without a preview.

#include "platform/report/datetimetext.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QLocale>
#include <QPageLayout>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace platform::report {

// Layout units per inch.
inline constexpr int unitsPerInch = 96;

// A printing failure: no default printer, a printer that cannot be used, a
// job that could not be started or finished. The message is Czech, UTF-8,
// without a closing full stop.
class PrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An item's own font.
struct Font {
    QString family;
    int height = 13; // character (em) height in layout units
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor colour = Qt::black;

    // The Qt font, its pixel size being the character height; valid for
    // painting in layout units.
    QFont qfont() const;
};

class Band;

// An item of a band.
class Item {
public:
    virtual ~Item();
    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;

    const QString& name() const { return name_; }
    // Position and size in layout units, relative to the band.
    QRect rect() const { return rect_; }
    const Band* band() const { return band_; }

    // Paints the item; the painter works in layout units with the band's
    // top-left corner at the origin.
    virtual void paint(QPainter& painter) const = 0;

protected:
    Item(QString name, QRect rect);
    QRect rect_;

private:
    friend class Band;
    QString name_;
    const Band* band_ = nullptr;
};

// A text item: left-aligned, opaque on white, sized to its current text.
class TextItem : public Item {
public:
    TextItem(QString name, QPoint position, QString text, Font font);

    const QString& text() const { return text_; }
    // Replaces the text; the item resizes to it.
    void setText(const QString& text);
    const Font& font() const { return font_; }

    void paint(QPainter& painter) const override;

private:
    void autoSize();
    QString text_;
    Font font_;
};

// The date/time item: a fixed prefix followed by the date and time of the
// moment the report is produced, in a box of fixed size.
class DateTimeItem : public Item {
public:
    using Clock = std::function<QDateTime()>;

    DateTimeItem(QString name, QRect rect, QString prefix, Font font);

    const QString& prefix() const { return prefix_; }
    const Font& font() const { return font_; }

    // The clock (the local time now, by default) and the locale
    // (QLocale::system(), by default) that the text is made from.
    void setClock(Clock clock);
    void setLocale(const QLocale& locale);

    // The text as it would be printed now.
    QString text() const;

    void paint(QPainter& painter) const override;

private:
    QString prefix_;
    Font font_;
    Clock clock_;
    QLocale locale_;
};

// A picture item: the image at its own size, one pixel per layout unit, its
// top-left corner at the item's; whatever lies outside the box is cut off.
class PictureItem : public Item {
public:
    PictureItem(QString name, QRect rect, QImage image = {});

    const QImage& image() const { return image_; }
    void setImage(const QImage& image);

    void paint(QPainter& painter) const override;

private:
    QImage image_;
};

// A title band: printed once, below the band before it.
class Band {
public:
    Band(QString name, int height, int width, QColor colour);
    Band(const Band&) = delete;
    Band& operator=(const Band&) = delete;

    const QString& name() const { return name_; }
    int height() const { return height_; }
    int width() const { return width_; }
    QColor colour() const { return colour_; }
    // Top on the page, in layout units; set when the band joins a report.
    int top() const { return top_; }

    TextItem& addText(const QString& name, QPoint position, const QString& text, const Font& font);
    DateTimeItem& addDateTime(const QString& name, QRect rect, const QString& prefix,
                              const Font& font);
    PictureItem& addPicture(const QString& name, QRect rect, const QImage& image = {});
    // Adds an item of any kind; the band owns it.
    template <typename T> T& add(std::unique_ptr<T> item)
    {
        T& ref = *item;
        adopt(std::move(item));
        return ref;
    }

    const std::vector<std::unique_ptr<Item>>& items() const { return items_; }

    // Paints the band's background and items; the painter works in layout
    // units with the band's top-left corner at the origin.
    void paint(QPainter& painter) const;

private:
    friend class Report;
    void adopt(std::unique_ptr<Item> item);

    QString name_;
    int height_;
    int width_;
    QColor colour_;
    int top_ = 0;
    std::vector<std::unique_ptr<Item>> items_;
};

struct ReportSettings {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double leftMarginMm = 0.0; // added to the printable area's left edge
    bool showProgress = true;  // a small progress window while printing
    QString title;             // the print job's name
};

class Report {
public:
    explicit Report(QString name);
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    const QString& name() const { return name_; }

    ReportSettings& settings() { return settings_; }
    const ReportSettings& settings() const { return settings_; }

    // Adds a title band directly below the last one.
    Band& addBand(const QString& name, int height, int width = 1200, QColor colour = Qt::white);
    const std::vector<std::unique_ptr<Band>>& bands() const { return bands_; }
    Band* band(const QString& name) const;

    // The item of that name in any band, or nullptr.
    Item* item(const QString& name) const;
    template <typename T> T* item(const QString& name) const
    {
        return dynamic_cast<T*>(item(name));
    }

    // An item's rectangle on the page, in layout units.
    static QRect pageRect(const Item& item);

    // Width of the widest band by the total height of the bands.
    QSize size() const;

    // Paints the page with its top-left corner at `origin` (device pixels),
    // layout units scaled to the device's resolution.
    void render(QPainter& painter, QPointF origin = {}) const;

    // The page at `dpi` on a white image of `size` pixels (the report's size
    // at that resolution when empty).
    QImage toImage(int dpi = unitsPerInch, QSize size = {}) const;

    // Prints the page on the current default printer (portrait, the job
    // named by the settings' title, no dialog). Throws PrintError when there
    // is no default printer or the job cannot be produced.
    void print() const;
    // Produces the page on `printer`, which the caller has set up; throws
    // PrintError when the printer cannot be painted on.
    void print(QPrinter& printer) const;

private:
    QString name_;
    ReportSettings settings_;
    std::vector<std::unique_ptr<Band>> bands_;
};

} // namespace platform::report
