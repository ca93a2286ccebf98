// Google Benchmark of the windows, in process and offscreen, with the
// program's style and fonts: a keystroke in Fs until its three results are
// written and painted, and the design sheet rendered to a page.

#include "formtest.h"
#include "sheettest.h"
#include "tables.h"

#include "forms/unit1.h"
#include "forms/unit3.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTest>

#include <chrono>
#include <memory>

namespace {

// Counts the paint events of the widgets it watches.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

// The main window with the first example design's inputs but Fs = "3"; each
// keystroke types one more digit (Fs 30 to 39: a new design each time).
// `fullRepaint`: the whole window is repainted after the keystroke; else
// only what the keystroke made dirty.
void keystroke(benchmark::State& state, bool fullRepaint)
{
    TForm1 form;
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowExposed(&form)) {
        state.SkipWithError("the main window is not exposed");
        return;
    }
    const QList<TEdit*> fields = inputFields(form);
    for (int i = 1; i < fields.size(); ++i) // all but Fs
        fields[i]->setText(QString::fromUtf8(tables::designs[0].in[static_cast<size_t>(i)]));
    form.Edit1->setFocus();
    // Fs moves the port length and Fb; Qtc does not depend on it, so its
    // text is set again unchanged, which paints nothing.
    PaintCounter results;
    form.Edit8->installEventFilter(&results);
    form.Edit9->installEventFilter(&results);

    // Paints what is dirty now, as the event loop does at the next frame
    // (rather than when the platform's frame timer fires).
    auto paintDirty = [&form] {
        QEvent update(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(&form, &update);
    };

    int digit = 0;
    for (auto _ : state) {
        form.Edit1->setText(QStringLiteral("3"));
        form.Edit1->end(false);
        QCoreApplication::processEvents();
        paintDirty();
        const QString fb = form.Edit8->text();
        const QString length = form.Edit9->text();
        const int paintsBefore = results.paints;

        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(form.Edit1, static_cast<char>('0' + digit));
        if (fullRepaint)
            form.repaint();
        else
            paintDirty();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());

        if (form.Edit8->text() == fb || form.Edit9->text() == length
            || form.Edit7->text().isEmpty()) {
            state.SkipWithError("the keystroke did not write new results");
            break;
        }
        if (results.paints < paintsBefore + 2) {
            state.SkipWithError("the results were not repainted");
            break;
        }
        digit = (digit + 1) % 10;
    }
}

void keystrokeDirtyRepaint(benchmark::State& state)
{
    keystroke(state, false);
}
BENCHMARK(keystrokeDirtyRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

void keystrokeFullRepaint(benchmark::State& state)
{
    keystroke(state, true);
}
BENCHMARK(keystrokeFullRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

std::unique_ptr<TForm3> filledSheet()
{
    auto form = std::make_unique<TForm3>();
    sheettest::fillTypicalValues(*form);
    return form;
}

// The sheet on a white A4 page image at the printer's resolution.
void sheetToImage(benchmark::State& state)
{
    const auto form = filledSheet();
    const int dpi = static_cast<int>(state.range(0));
    const QSize page = QPageSize(QPageSize::A4).sizePixels(dpi);
    sheettest::render(*form, dpi, page); // the fonts at this size, loaded once
    for (auto _ : state) {
        QImage image = sheettest::render(*form, dpi, page);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(
        QStringLiteral("A4 %1x%2 px").arg(page.width()).arg(page.height()).toStdString());
}
BENCHMARK(sheetToImage)->Arg(300)->Arg(600)->Unit(benchmark::kMillisecond);

// The same on a page image made once: clearing and painting the page
// without the cost of a fresh image's memory.
void sheetOnPage(benchmark::State& state)
{
    const auto form = filledSheet();
    const int dpi = static_cast<int>(state.range(0));
    QImage image(QPageSize(QPageSize::A4).sizePixels(dpi), QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    auto paint = [&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        form->paint(painter, sheettest::fixedMoment(), sheettest::czech());
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    };
    paint(); // the image's memory and the fonts at this size, once
    for (auto _ : state)
        paint();
}
BENCHMARK(sheetOnPage)->Arg(300)->Arg(600)->Unit(benchmark::kMillisecond);

// The sheet as a one-page A4 PDF, in memory.
void sheetToPdf(benchmark::State& state)
{
    const auto form = filledSheet();
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        form->paint(painter, sheettest::fixedMoment(), sheettest::czech());
        painter.end();
        bytes = buffer.size();
    }
    if (bytes == 0)
        state.SkipWithError("an empty PDF");
    state.SetLabel(std::to_string(bytes) + " bytes");
}
BENCHMARK(sheetToPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Recorder recorder; // the program's style and fonts; no beeps, boxes or help
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
