// Start-up: title, help file, the windows and their order, the splash
// timer, the end of the program when the main window closes, and the
// windows' colours under a desktop theme.

#include "formtest.h"

#include "forms/unit1.h"
#include "forms/unit2.h"
#include "forms/unit3.h"
#include "forms/unit4.h"
#include "platform/trace.h"
#include "widgets/tgroupbox.h"
#include "widgets/ttransparentbitmap.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace {

QImage shot(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRect areaIn(const QWidget* window, const QWidget* control)
{
    return {control->mapTo(window, QPoint(0, 0)), control->size()};
}

int count(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(image.pixel(x, y)) ? 1 : 0;
    return n;
}

QRgb commonest(const QImage& image, const QRect& area)
{
    std::map<QRgb, int> seen;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++seen[image.pixel(x, y)];
    return std::max_element(seen.begin(), seen.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

// What is wrong with the text drawn in `area`: it must lie on `face` (most
// of a label is background) and be dark, antialiased towards the face and
// never lighter than it.
QStringList textProblems(const QImage& image, const QRect& area, QRgb face, const QString& name)
{
    if (3 * count(image, area, [face](QRgb c) { return c == face; }) < area.width() * area.height())
        return {name + QStringLiteral(" is not on the face")};
    if (count(image, area, [face](QRgb c) { return qGray(c) <= qGray(face) - 128; }) == 0)
        return {name + QStringLiteral(" has no dark text")};
    if (count(image, area, [face](QRgb c) { return qGray(c) > qGray(face); }) > 0)
        return {name + QStringLiteral(" has text lighter than the face")};
    return {};
}

// The labels shown in `window`, and its pictures, which must show the face
// wherever they are silver.
QStringList windowProblems(QWidget* window, QRgb face)
{
    const QImage image = shot(window);
    QStringList problems;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->isVisibleTo(window))
            problems << textProblems(image, areaIn(window, label), face, label->objectName());
    }
    for (const TTransparentBitmap* picture : window->findChildren<TTransparentBitmap*>()) {
        if (!picture->isVisibleTo(window))
            continue;
        const QImage bitmap = picture->bitMap().convertToFormat(QImage::Format_RGB32);
        const QPoint at = picture->mapTo(window, QPoint(0, 0));
        int silver = 0;
        int shown = 0;
        for (int y = 0; y < bitmap.height(); ++y) {
            for (int x = 0; x < bitmap.width(); ++x) {
                if (bitmap.pixel(x, y) == qRgb(192, 192, 192)) {
                    ++silver;
                    shown += image.pixel(at + QPoint(x, y)) == face ? 1 : 0;
                }
            }
        }
        if (silver == 0 || shown != silver)
            problems << QStringLiteral("%1 shows the face at %2 of %3 silver pixels")
                            .arg(picture->objectName())
                            .arg(shown)
                            .arg(silver);
    }
    return problems;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

    Recorder rec;
    std::optional<Windows> windows;
    QPalette unthemed;

private slots:
    void initTestCase() { unthemed = QApplication::palette(); }
    void init() { windows.emplace(); }

    void cleanup()
    {
        windows.reset();
        QApplication::setPalette(unthemed);
    }

    void windowsAndApplication()
    {
        QCOMPARE(platform::Application::title(),
                 QStringLiteral("Program na návrh  basreflexové ozvučnice"));
        // The windows keep their own captions; the title is their icon text.
        QCOMPARE(Form1->windowTitle(),
                 QStringLiteral("Program pro výpočet basreflexové ozvučnice"));
        QCOMPARE(Form1->windowIconText(), platform::Application::title());
        QCOMPARE(platform::Application::helpFile(), QStringLiteral("BAS.HLP"));
        QVERIFY(Form1 && Form2 && Form3 && Form4);
        // The splash window was created first: it is the main window.
        QCOMPARE(platform::Application::mainForm(), static_cast<QWidget*>(Form4));
        for (QWidget* w : std::initializer_list<QWidget*>{Form1, Form2, Form3, Form4})
            QVERIFY(!w->isVisible());
        QVERIFY(!QApplication::windowIcon().isNull());
    }

    void splash()
    {
        QCOMPARE(Form4->size(), QSize(257, 169));
        QVERIFY(Form4->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(Form4->Panel1->cursor().shape(), Qt::WaitCursor);
        QVERIFY(Form4->Timer1->isActive());
        QCOMPARE(Form4->TransparentBitmap1->size(), QSize(210, 122));
        QVERIFY(!Form4->TransparentBitmap1->bitMap().isNull());

        // The bevel is a lowered 1-pixel box: shadow at the top and left,
        // highlight at the bottom and right, the panel's colour inside.
        const QImage image = Form4->grab().toImage();
        const QRect bevel = Form4->Bevel1->geometry();
        const QPalette& p = Form4->Bevel1->palette();
        const auto at = [&](int x, int y) { return QColor(image.pixel(x, y)).name(); };
        const QPoint mid = bevel.center();
        QCOMPARE(at(mid.x(), bevel.top()), p.color(QPalette::Dark).name());
        QCOMPARE(at(bevel.left(), mid.y()), p.color(QPalette::Dark).name());
        QCOMPARE(at(mid.x(), bevel.bottom()), p.color(QPalette::Light).name());
        QCOMPARE(at(bevel.right(), mid.y()), p.color(QPalette::Light).name());
        QCOMPARE(at(mid.x(), bevel.top() + 1), p.color(QPalette::Button).name());
        QCOMPARE(at(mid.x(), bevel.bottom() - 1), p.color(QPalette::Button).name());
    }

    void timerFiresOnceAndShowsTheMainWindow()
    {
        Form4->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form4));
        QSignalSpy fired(Form4->Timer1, &QTimer::timeout);
        Form4->Timer1->setInterval(20); // the same handler, sooner
        QTRY_VERIFY(Form1->isVisible());
        QVERIFY(!Form4->isVisible());
        QVERIFY(!Form4->Timer1->isActive());
        QTest::qWait(100);
        QCOMPARE(fired.count(), 1);
        QVERIFY(!Form4->isVisible());
        // Centred on the screen.
        const QRect screen = Form1->screen()->geometry();
        const QPoint offCentre = Form1->frameGeometry().center() - screen.center();
        QVERIFY2(offCentre.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
    }

    void closingTheMainWindowEndsTheProgram()
    {
        Form4->Timer1->setInterval(0);
        QTimer::singleShot(50, Form1, [] { Form1->close(); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
        QCOMPARE(platform::Application::run(), 0);
        QVERIFY(!Form1->isVisible());
        QVERIFY(!Form4->isVisible());
    }

    // On a desktop without a theme the windows look as they always have.
    void designedPaletteIsTheUnthemedOne()
    {
        const QPalette designed = platform::designedPalette();
        for (int g = 0; g < QPalette::NColorGroups; ++g) {
            for (int r = 0; r < QPalette::NColorRoles; ++r) {
                const auto group = static_cast<QPalette::ColorGroup>(g);
                const auto role = static_cast<QPalette::ColorRole>(r);
                QVERIFY2(designed.color(group, role).rgba() == unthemed.color(group, role).rgba(),
                         qPrintable(QStringLiteral("group %1, role %2: %3 instead of %4")
                                        .arg(g)
                                        .arg(r)
                                        .arg(designed.color(group, role).name(QColor::HexArgb),
                                             unthemed.color(group, role).name(QColor::HexArgb))));
            }
        }
    }

    // A dark theme's palette does not reach the windows or their message
    // boxes: the face stays light, labels and fields draw black text, the
    // group captions keep their colours, the pictures' silver shows the face.
    void designedColoursUnderADarkTheme()
    {
        cleanup();
        const QColor light(240, 240, 240);
        QApplication::setPalette(QPalette(light, QColor(50, 50, 50), QColor(75, 75, 75),
                                          QColor(33, 33, 33), QColor(38, 38, 38), light,
                                          QColor(36, 36, 36)));
        init();
        Form4->Timer1->stop();
        const QRgb face = platform::designedPalette().color(QPalette::Window).rgb();
        QVERIFY(qGray(face) > 200);

        Form1->Edit1->setText(QStringLiteral("12.5"));
        const QImage main = shot(Form1);
        QCOMPARE(main.pixel(2, 2), face);
        QStringList problems =
            textProblems(main, areaIn(Form1, Form1->Edit1).adjusted(3, 3, -3, -3),
                         qRgb(255, 255, 255), QStringLiteral("Edit1"));
        const std::pair<TGroupBox*, QRgb> groups[] = {{Form1->GroupBox1, qRgb(255, 0, 0)},
                                                      {Form1->GroupBox3, qRgb(0, 0, 255)},
                                                      {Form1->GroupBox2, qRgb(0, 128, 0)}};
        for (const auto& [box, caption] : groups) {
            const QRect strip = areaIn(Form1, box).adjusted(0, 0, 0, 14 - box->height());
            const QRgb colour = caption; // a lambda cannot capture a structured binding in Clang 14
            if (commonest(main, strip) != face
                || count(main, strip, [colour](QRgb c) { return c == colour; }) < 10)
                problems << box->objectName() + QStringLiteral("'s caption");
        }
        problems << windowProblems(Form1, face);
        for (int tab = 0; tab < Form2->PageControl1->count(); ++tab) {
            Form2->PageControl1->setCurrentIndex(tab);
            problems << windowProblems(Form2, face);
        }
        problems << windowProblems(Form4, face);

        // A real message box, grabbed while it is open.
        QImage box;
        QRect boxText;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto* open = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box = shot(open);
                boxText = areaIn(open, open->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")));
                open->accept();
            }
        });
        poll.start(10);
        const auto recording = platform::Application::setMessageBoxHook({});
        platform::Application::showError(QStringLiteral("Chyba"));
        platform::Application::setMessageBoxHook(recording);
        QVERIFY(!box.isNull());
        QCOMPARE(commonest(box, box.rect()), face);
        problems << textProblems(box, boxText, face, QStringLiteral("the message box"));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
    }

    // A trace file that cannot be opened is reported, not ignored.
    void unwritableTraceFileIsReported()
    {
        qputenv("VENTBOX_TRACE", "/nonexistent/trace");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("cannot open the trace file /nonexistent/trace"));
        platform::installTraceFromEnvironment();
        qunsetenv("VENTBOX_TRACE");
    }
};

QTEST_MAIN(TestStartup)
#include "startup_test.moc"
