#include "unit3.h"

#include "pictures.h"

#include "platform/print.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>
#include <QRgb>

#include <cmath>
#include <utility>

TForm3* Form3 = nullptr;

namespace {

using Kind = TForm3::Kind;
using enum TForm3::Kind;

enum Style : unsigned { Regular = 0, Bold = 1, Underlined = 2 };

constexpr QRgb black = qRgb(0, 0, 0);
constexpr QRgb blue = qRgb(0, 0, 255);
constexpr QRgb red = qRgb(255, 0, 0);

// The sheet's two title bands: their tops on the page, the height of both.
constexpr int band1 = 0;
constexpr int band2 = 89;
constexpr int bandsHeight = 593;
constexpr int bandWidth = 1200;

// The sheet's items. Positions are layout units (1/96 inch) on the page:
// the band's top plus the item's top within it. Text items size themselves
// to their text; the date/time item and the picture have the size given.
// A value item's text is its member of the form, the design text being its
// placeholder; the date/time item's is the prefix of the date and time.
struct Row {
    const char* name;
    Kind kind;
    const char* text;
    QString TForm3::*value;
    int left;
    int top;
    int width;
    int height;
    int fontHeight;
    unsigned style;
    QRgb colour;
};

// clang-format off
constexpr Row sheet[] = {
    // name           kind      text                                                          value                  left  top            w    h  fh  style              colour
    {"FolioLabel1",   Text,     "Návrh basreflexové ozvučnice",                               nullptr,                 24, band1 +  48,   0,   0, 21, Bold | Underlined, blue},

    {"FolioLabel12",  Text,     "ZÁKLADNÍ ÚDAJE :",                                           nullptr,                 24, band2 +  24,   0,   0, 13, Bold | Underlined, black},
    {"FolioLabel2",   Text,     "Rezonanční kmitočet reproduktoru -",                         nullptr,                 24, band2 +  48,   0,   0, 13, Regular,           black},
    {"FolioLabel21",  Text,     "Fs ",                                                        nullptr,                272, band2 +  48,   0,   0, 13, Regular,           black},
    {"FolioLabel25",  Text,     "XX",                                                         &TForm3::FolioLabel25,  304, band2 +  48,   0,   0, 13, Bold,              black},
    {"FolioLabel3",   Text,     "Celkový činitel jakosti reproduktoru -",                     nullptr,                 24, band2 +  72,   0,   0, 13, Regular,           black},
    {"FolioLabel24",  Text,     "Qts",                                                        nullptr,                272, band2 +  72,   0,   0, 13, Regular,           black},
    {"FolioLabel26",  Text,     "XXX",                                                        &TForm3::FolioLabel26,  304, band2 +  72,   0,   0, 13, Bold,              black},
    {"FolioLabel4",   Text,     "Ekvivalentní objem reproduktoru -",                          nullptr,                 24, band2 +  96,   0,   0, 13, Regular,           black},
    {"FolioLabel22",  Text,     "Vas",                                                        nullptr,                272, band2 +  96,   0,   0, 13, Regular,           black},
    {"FolioLabel27",  Text,     "XXX",                                                        &TForm3::FolioLabel27,  304, band2 +  96,   0,   0, 13, Bold,              black},
    {"FolioLabel5",   Text,     "Stejnosměrný odpor cívky reproduktoru -",                    nullptr,                 24, band2 + 120,   0,   0, 13, Regular,           black},
    {"FolioLabel23",  Text,     "Rdc",                                                        nullptr,                272, band2 + 120,   0,   0, 13, Regular,           black},
    {"FolioLabel28",  Text,     "XXX",                                                        &TForm3::FolioLabel28,  304, band2 + 120,   0,   0, 13, Bold,              black},
    {"Image1",        Picture,  nullptr,                                                      nullptr,                464, band2 + 136, 120, 217,  0, Regular,           black},
    {"FolioLabel6",   Text,     "Stejnosměrný odpor cívky tlumivky -",                        nullptr,                 24, band2 + 144,   0,   0, 13, Regular,           black},
    {"FolioLabel15",  Text,     "Re",                                                         nullptr,                272, band2 + 144,   0,   0, 13, Regular,           black},
    {"FolioLabel29",  Text,     "XXX",                                                        &TForm3::FolioLabel29,  304, band2 + 144,   0,   0, 13, Bold,              black},
    {"FolioLabel7",   Text,     "DOPLŇUJÍCÍ ÚDAJE :",                                         nullptr,                 24, band2 + 184,   0,   0, 13, Bold | Underlined, black},
    {"FolioLabel8",   Text,     "Průřezová plocha nátrubku -",                                nullptr,                 24, band2 + 208,   0,   0, 13, Regular,           black},
    {"FolioLabel16",  Text,     "S",                                                          nullptr,                248, band2 + 208,   0,   0, 13, Regular,           black},
    {"FolioLabel30",  Text,     "XXX",                                                        &TForm3::FolioLabel30,  280, band2 + 208,   0,   0, 13, Bold,              black},
    {"FolioLabel9",   Text,     "Vnitřní objem basreflexového boxu -",                        nullptr,                 24, band2 + 232,   0,   0, 13, Regular,           black},
    {"FolioLabel17",  Text,     "Vb",                                                         nullptr,                248, band2 + 232,   0,   0, 13, Regular,           black},
    {"FolioLabel31",  Text,     "XX",                                                         &TForm3::FolioLabel31,  280, band2 + 232,   0,   0, 13, Bold,              black},
    {"FolioLabel10",  Text,     "VLASTNÍ VÝPOČET :",                                          nullptr,                 24, band2 + 264,   0,   0, 13, Bold | Underlined, black},
    {"FolioLabel11",  Text,     "Výsledná délka basreflexového nátrubku -",                   nullptr,                 24, band2 + 288,   0,   0, 13, Regular,           black},
    {"FolioLabel32",  Text,     "XXX",                                                        &TForm3::FolioLabel32,  280, band2 + 288,   0,   0, 13, Bold,              black},
    {"FolioLabel13",  Text,     "Výsledná jakost reproduktoru -",                             nullptr,                 24, band2 + 312,   0,   0, 13, Regular,           black},
    {"FolioLabel19",  Text,     "Qtc",                                                        nullptr,                248, band2 + 312,   0,   0, 13, Regular,           black},
    {"FolioLabel33",  Text,     "XXX",                                                        &TForm3::FolioLabel33,  280, band2 + 312,   0,   0, 13, Bold,              black},
    {"FolioLabel14",  Text,     "Rezonanční kmitočet rezonátoru -",                           nullptr,                 24, band2 + 336,   0,   0, 13, Regular,           black},
    {"FolioLabel20",  Text,     "Fb",                                                         nullptr,                248, band2 + 336,   0,   0, 13, Regular,           black},
    {"FolioLabel34",  Text,     "XXX",                                                        &TForm3::FolioLabel34,  280, band2 + 336,   0,   0, 13, Bold,              black},
    {"FolioLabel35",  Text,     "Je možné zkrátit výslednou délku nátrubku ? -",              nullptr,                 24, band2 + 360,   0,   0, 13, Regular,           black},
    {"FolioLabel36",  Text,     "XXX",                                                        &TForm3::FolioLabel36,  304, band2 + 360,   0,   0, 13, Bold,              black},
    {"FolioSysData2", DateTime, "Výpočet proveden : ",                                        nullptr,                 24, band2 + 408, 281,  17, 13, Regular,           black},
    {"FolioLabel18",  Text,     "Výpočet je orientační, skutečné naladění ověřte měřením !",  nullptr,                 24, band2 + 432,   0,   0, 16, Bold,              red},
};
// clang-format on

QFont fontOf(const Row& row)
{
    QFont font(QStringLiteral("Arial CE"));
    font.setPixelSize(row.fontHeight); // the character height in layout units
    font.setBold((row.style & Bold) != 0);
    font.setUnderline((row.style & Underlined) != 0);
    // Glyph advances hinted at the layout size: the text is laid out alike
    // on the screen, in a PDF and on the printer, and its width matches the
    // sizes the sheet was designed with.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace

QString dateTimeText(const QDateTime& moment, const QLocale& locale)
{
    QString text = locale.toString(moment.date(), QLocale::ShortFormat);
    const QTime time = moment.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return text;
    // The hours' field of the locale's time format ("h": a 12-hour clock,
    // doubled: a leading zero) and the literal text up to the next field.
    static const QRegularExpression hoursField(
        QStringLiteral(R"(^(?:'[^']*'|[^'hH])*(h+|H+)((?:'[^']*'|[^'\p{L}])*))"));
    const QRegularExpressionMatch field = hoursField.match(locale.timeFormat(QLocale::LongFormat));
    const bool twelveHour = field.captured(1).startsWith(u'h');
    QString separator = field.captured(2).remove(u'\'');
    if (separator.isEmpty())
        separator = QStringLiteral(":");
    const int hours = twelveHour ? (time.hour() + 11) % 12 + 1 : time.hour();
    text += u' ' + QString::number(hours).rightJustified(field.capturedLength(1), u'0') + separator
        + time.toString(u"mm") + separator + time.toString(u"ss");
    if (twelveHour)
        text += u' ' + (time.hour() < 12 ? locale.amText() : locale.pmText());
    return text;
}

TForm3::TForm3(QWidget* parent) : platform::TForm(parent)
{
    Form3 = this;
    registerPictures();
    setObjectName(QStringLiteral("Form3"));
    Image1 = QImage(QStringLiteral(":/pictures/sketch.bmp"));
    for (const Row& row : sheet)
        if (row.value)
            this->*row.value = QString::fromUtf8(row.text);
}

std::vector<TForm3::Item> TForm3::items(const QDateTime& moment, const QLocale& locale) const
{
    std::vector<Item> items;
    for (const Row& row : sheet) {
        Item item{row.name,
                  row.kind,
                  QRect(row.left, row.top, row.width, row.height),
                  row.value ? this->*row.value : QString::fromUtf8(row.text),
                  row.kind == Picture ? QFont() : fontOf(row),
                  QColor(row.colour)};
        if (row.kind == DateTime)
            item.text += dateTimeText(moment, locale);
        if (row.kind == Text)
            item.box.setSize(QSize(
                static_cast<int>(std::ceil(QFontMetricsF(item.font).horizontalAdvance(item.text))),
                QFontMetrics(item.font).height()));
        items.push_back(std::move(item));
    }
    return items;
}

void TForm3::paint(QPainter& painter, const QDateTime& moment, const QLocale& locale) const
{
    // The items are opaque in the system's window colour, which Qt calls
    // the base colour (the background of text entry; white as a rule).
    const QColor background = palette().color(QPalette::Base);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QPaintDevice* device = painter.device();
    painter.scale(device->logicalDpiX() / 96.0, device->logicalDpiY() / 96.0);
    painter.fillRect(QRect(0, 0, bandWidth, bandsHeight), Qt::white); // the bands
    for (const Item& item : items(moment, locale)) {
        if (item.kind == Picture) {
            // Unstretched: only the part of the picture that fits the box.
            const QRect part = QRect(QPoint(), item.box.size()) & Image1.rect();
            painter.drawImage(QRect(item.box.topLeft(), part.size()), Image1, part);
            continue;
        }
        painter.fillRect(item.box, background);
        painter.save();
        if (item.kind == DateTime) // within its fixed box
            painter.setClipRect(item.box, Qt::IntersectClip);
        painter.setFont(item.font);
        painter.setPen(item.colour);
        painter.drawText(
            QPointF(item.box.left(), item.box.top() + QFontMetrics(item.font).ascent()), item.text);
        painter.restore();
    }
    painter.restore();
}

void TForm3::Folio1() const
{
    platform::printPage([this](QPainter& painter) { paint(painter); });
}
