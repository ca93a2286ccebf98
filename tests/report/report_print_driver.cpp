// Fills the design sheet as the print button does for one design, at a
// fixed moment, and either prints it on the default printer or renders it
// at 96 dpi for comparison:
//
//   report_print_driver print
//   report_print_driver render <image.png> <image.ppm> <boxes.json>
//
// The boxes file lists every item's rectangle on the page in layout units
// (= pixels at 96 dpi). Exit status 0 on success, 2 when printing failed
// (the message on stderr), 1 on wrong use.

#include "sheettest.h"

#include "platform/fonts.h"
#include "platform/print.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <exception>

namespace {

int render(const TForm3& form, const QString& png, const QString& ppm, const QString& boxes)
{
    // An A4 page at 96 dpi.
    const QImage image = sheettest::render(form, 96, QSize(794, 1123));
    if (!image.save(png, "PNG") || !image.save(ppm, "PPM"))
        return 1;
    QJsonObject items;
    for (const TForm3::Item& item : form.items(sheettest::fixedMoment(), sheettest::czech())) {
        const QRect& r = item.box;
        items.insert(QLatin1String(item.name), QJsonArray{r.x(), r.y(), r.width(), r.height()});
    }
    QFile file(boxes);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(QJsonDocument(items).toJson());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const bool print = args.size() == 2 && args[1] == QLatin1String("print");
    const bool draw = args.size() == 5 && args[1] == QLatin1String("render");
    if (!print && !draw) {
        std::fputs("usage: report_print_driver print | render <png> <ppm> <boxes.json>\n", stderr);
        return 1;
    }

    platform::installFontSubstitutes();
    TForm3 form;
    sheettest::fillTypicalValues(form);

    if (draw)
        return render(form, args[2], args[3], args[4]);
    try {
        platform::printPage([&form](QPainter& painter) {
            form.paint(painter, sheettest::fixedMoment(), sheettest::czech());
        });
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s.\n", e.what());
        return 2;
    }
    return 0;
}
