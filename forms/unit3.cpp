#include "unit3.h"

#include "pictures.h"

#include <QImage>
#include <QRgb>

#include <stdexcept>
#include <variant>

TForm3* Form3 = nullptr;

namespace {

using platform::report::Band;
using platform::report::DateTimeItem;
using platform::report::PictureItem;
using platform::report::Report;
using platform::report::TextItem;

using TextMember = TextItem* TForm3::*;
using DateTimeMember = DateTimeItem* TForm3::*;
using PictureMember = PictureItem* TForm3::*;
using BandMember = Band* TForm3::*;

enum Style : unsigned { Regular = 0, Bold = 1, Underlined = 2 };

constexpr QRgb black = qRgb(0, 0, 0);
constexpr QRgb blue = qRgb(0, 0, 255);
constexpr QRgb red = qRgb(255, 0, 0);
constexpr QRgb white = qRgb(255, 255, 255);

// The sheet's title bands, from the top of the page down.
struct SheetBand {
    const char* name;
    int height;
    int width;
    QRgb colour;
    BandMember member;
};

// clang-format off
constexpr SheetBand sheetBands[] = {
    {"FolioBand1", 89, 1200, white, &TForm3::FolioBand1},
    {"FolioBand2", 504, 1200, white, &TForm3::FolioBand2},
};
// clang-format on

// The sheet's items. Positions are layout units (1/96 inch) from the
// top-left corner of the band. Text items size themselves to their text;
// the date/time item and the picture have the box given here. The value
// items hold placeholders until the print button fills them.
struct SheetItem {
    const char* name;
    int band; // 1 or 2
    const char* text;
    int left;
    int top;
    int width; // date/time and picture only
    int height;
    int fontHeight;
    unsigned style;
    QRgb colour;
    std::variant<TextMember, DateTimeMember, PictureMember> member;
};

constexpr int fixed = 0; // a text item's size follows its text

// clang-format off
constexpr SheetItem sheetItems[] = {
    // name            band text                                          left top  width  height fh  style               colour
    {"FolioLabel1",    1, "Návrh basreflexové ozvučnice",                  24,  48, fixed, fixed, 21, Bold | Underlined, blue,  &TForm3::FolioLabel1},

    {"FolioLabel12",   2, "ZÁKLADNÍ ÚDAJE :",                              24,  24, fixed, fixed, 13, Bold | Underlined, black, &TForm3::FolioLabel12},
    {"FolioLabel2",    2, "Rezonanční kmitočet reproduktoru -",            24,  48, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel2},
    {"FolioLabel21",   2, "Fs ",                                          272,  48, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel21},
    {"FolioLabel25",   2, "XX",                                           304,  48, fixed, fixed, 13, Bold,              black, &TForm3::FolioLabel25},
    {"FolioLabel3",    2, "Celkový činitel jakosti reproduktoru -",        24,  72, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel3},
    {"FolioLabel24",   2, "Qts",                                          272,  72, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel24},
    {"FolioLabel26",   2, "XXX",                                          304,  72, fixed, fixed, 13, Bold,              black, &TForm3::FolioLabel26},
    {"FolioLabel4",    2, "Ekvivalentní objem reproduktoru -",             24,  96, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel4},
    {"FolioLabel22",   2, "Vas",                                          272,  96, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel22},
    {"FolioLabel27",   2, "XXX",                                          304,  96, fixed, fixed, 13, Bold,              black, &TForm3::FolioLabel27},
    {"FolioLabel5",    2, "Stejnosměrný odpor cívky reproduktoru -",       24, 120, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel5},
    {"FolioLabel23",   2, "Rdc",                                          272, 120, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel23},
    {"FolioLabel28",   2, "XXX",                                          304, 120, fixed, fixed, 13, Bold,              black, &TForm3::FolioLabel28},
    {"Image1",         2, ":/pictures/sketch.bmp",                        464, 136,   120,   217,  0, Regular,           black, &TForm3::Image1},
    {"FolioLabel6",    2, "Stejnosměrný odpor cívky tlumivky -",           24, 144, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel6},
    {"FolioLabel15",   2, "Re",                                           272, 144, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel15},
    {"FolioLabel29",   2, "XXX",                                          304, 144, fixed, fixed, 13, Bold,              black, &TForm3::FolioLabel29},
    {"FolioLabel7",    2, "DOPLŇUJÍCÍ ÚDAJE :",                            24, 184, fixed, fixed, 13, Bold | Underlined, black, &TForm3::FolioLabel7},
    {"FolioLabel8",    2, "Průřezová plocha nátrubku -",                   24, 208, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel8},
    {"FolioLabel16",   2, "S",                                            248, 208, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel16},
    {"FolioLabel30",   2, "XXX",                                          280, 208, fixed, fixed, 13, Bold,              black, &TForm3::FolioLabel30},
    {"FolioLabel9",    2, "Vnitřní objem basreflexového boxu -",           24, 232, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel9},
    {"FolioLabel17",   2, "Vb",                                           248, 232, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel17},
    {"FolioLabel31",   2, "XX",                                           280, 232, fixed, fixed, 13, Bold,              black, &TForm3::FolioLabel31},
    {"FolioLabel10",   2, "VLASTNÍ VÝPOČET :",                             24, 264, fixed, fixed, 13, Bold | Underlined, black, &TForm3::FolioLabel10},
    {"FolioLabel11",   2, "Výsledná délka basreflexového nátrubku -",      24, 288, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel11},
    {"FolioLabel32",   2, "XXX",                                          280, 288, fixed, fixed, 13, Bold,              black, &TForm3::FolioLabel32},
    {"FolioLabel13",   2, "Výsledná jakost reproduktoru -",                24, 312, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel13},
    {"FolioLabel19",   2, "Qtc",                                          248, 312, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel19},
    {"FolioLabel33",   2, "XXX",                                          280, 312, fixed, fixed, 13, Bold,              black, &TForm3::FolioLabel33},
    {"FolioLabel14",   2, "Rezonanční kmitočet rezonátoru -",              24, 336, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel14},
    {"FolioLabel20",   2, "Fb",                                           248, 336, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel20},
    {"FolioLabel34",   2, "XXX",                                          280, 336, fixed, fixed, 13, Bold,              black, &TForm3::FolioLabel34},
    {"FolioLabel35",   2, "Je možné zkrátit výslednou délku nátrubku ? -", 24, 360, fixed, fixed, 13, Regular,           black, &TForm3::FolioLabel35},
    {"FolioLabel36",   2, "XXX",                                          304, 360, fixed, fixed, 13, Bold,              black, &TForm3::FolioLabel36},
    {"FolioSysData2",  2, "Výpočet proveden : ",                           24, 408,   281,    17, 13, Regular,           black, &TForm3::FolioSysData2},
    {"FolioLabel18",   2, "Výpočet je orientační, skutečné naladění ověřte měřením !",
                                                                           24, 432, fixed, fixed, 16, Bold,              red,   &TForm3::FolioLabel18},
};
// clang-format on

platform::report::Font fontOf(const SheetItem& row)
{
    platform::report::Font font;
    font.family = QStringLiteral("Arial CE");
    font.height = row.fontHeight;
    font.bold = (row.style & Bold) != 0;
    font.underline = (row.style & Underlined) != 0;
    font.colour = QColor(row.colour);
    return font;
}

} // namespace

TForm3::TForm3(QWidget* parent) : platform::TForm(parent)
{
    Form3 = this;
    registerPictures();
    setObjectName(QStringLiteral("Form3"));

    folio_ = std::make_unique<Report>(QStringLiteral("Folio1"));
    Folio1 = folio_.get();
    platform::report::ReportSettings& settings = Folio1->settings();
    settings.orientation = QPageLayout::Portrait;
    settings.leftMarginMm = 0.0;
    settings.showProgress = true;
    settings.title = QString(); // the print job has no name

    for (const SheetBand& row : sheetBands)
        this->*row.member = &Folio1->addBand(QString::fromUtf8(row.name), row.height, row.width,
                                             QColor(row.colour));

    for (const SheetItem& row : sheetItems) {
        Band& band = *(row.band == 1 ? FolioBand1 : FolioBand2);
        const QString name = QString::fromUtf8(row.name);
        const QString text = QString::fromUtf8(row.text);
        if (const auto* member = std::get_if<TextMember>(&row.member)) {
            this->*(*member) = &band.addText(name, QPoint(row.left, row.top), text, fontOf(row));
        } else if (const auto* dateMember = std::get_if<DateTimeMember>(&row.member)) {
            this->*(*dateMember) = &band.addDateTime(
                name, QRect(row.left, row.top, row.width, row.height), text, fontOf(row));
        } else {
            this->*std::get<PictureMember>(row.member) = &band.addPicture(
                name, QRect(row.left, row.top, row.width, row.height), QImage(text));
        }
    }
}

TextItem* TForm3::textItem(const QString& name) const
{
    return Folio1->item<TextItem>(name);
}

void TForm3::setItemText(const QString& name, const QString& text)
{
    TextItem* item = textItem(name);
    if (item == nullptr)
        throw std::invalid_argument("TForm3::setItemText: no text item " + name.toStdString());
    item->setText(text);
}
