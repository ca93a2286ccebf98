// The transparent bitmap control and the colour values it takes. The
// pictures on the program's own windows (the splash window's panel, the
// port area window's tab pages) are checked by the window tests.

#include "widgets/ttransparentbitmap.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <set>

namespace {

using PixelFn = std::function<QRgb(int x, int y)>;

// Colour values as the control takes them: RGB with red in the lowest byte,
// or a system colour (the top bit set), which means no transparency.
constexpr qint32 silver = 0x00C0C0C0;
constexpr qint32 windowColour = static_cast<qint32>(0x80000005u);
constexpr qint32 windowText = static_cast<qint32>(0x80000008u);
constexpr qint32 buttonFace = static_cast<qint32>(0x8000000Fu);

constexpr QRgb silverRgb = qRgb(192, 192, 192);
constexpr QRgb whiteRgb = qRgb(255, 255, 255);
constexpr QRgb blackRgb = qRgb(0, 0, 0);
// The colour of the panel the control stands on: in no picture.
const QColor panelColor(40, 90, 200);

QImage makePicture(QSize size, const PixelFn& pixel)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, pixel(x, y));
    return image;
}

// Each pixel tells where it comes from: red is the column, green the row.
QRgb code(int x, int y)
{
    return qRgb(x, y, 0x55);
}

QImage codePicture(QSize size)
{
    return makePicture(size, code);
}

// Silver in a checker of 3 x 3 squares, coded pixels elsewhere.
bool checkerSilver(int x, int y)
{
    return (x / 3 + y / 3) % 2 == 0;
}

QImage checkerPicture(QSize size)
{
    return makePicture(size,
                       [](int x, int y) { return checkerSilver(x, y) ? silverRgb : code(x, y); });
}

QRgb pixelOf(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

QString hex(QRgb value)
{
    return QStringLiteral("#%1").arg(value & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

// The first of the `size` pixels of `shot` that differs from `expected`.
QString mismatch(const QImage& shot, QSize size, const PixelFn& expected)
{
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb got = pixelOf(shot, x, y);
            const QRgb want = expected(x, y) | 0xFF000000u;
            if (got != want)
                return QStringLiteral("pixel (%1, %2): %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(hex(got), hex(want));
        }
    }
    return {};
}

// What the picture shows keyed with silver on the panel.
PixelFn keyed(const QImage& picture, qint32 key)
{
    return [picture, key](int x, int y) {
        const QRgb pixel = picture.pixel(x, y);
        return key == silver && (pixel | 0xFF000000u) == silverRgb ? panelColor.rgb() : pixel;
    };
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The control on a panel in a window of its own. Once shown, a probe far
// from the control tells when the repaints asked for so far are done: a
// repaint the probe asks for is handled in the same pass as those before.
struct Stand {
    QWidget window;
    QWidget* panel = new QWidget(&window);
    TTransparentBitmap* control = new TTransparentBitmap(panel);
    QWidget* probe = new QWidget(&window);
    PaintCounter controlPaints;
    PaintCounter probePaints;

    Stand()
    {
        window.resize(300, 220);
        panel->setGeometry(0, 0, 220, 170);
        panel->setAutoFillBackground(true);
        QPalette palette = panel->palette();
        palette.setColor(QPalette::Window, panelColor);
        panel->setPalette(palette);
        control->move(10, 10);
        control->installEventFilter(&controlPaints);
        probe->setGeometry(270, 190, 20, 20);
        probe->setAutoFillBackground(true);
        probe->installEventFilter(&probePaints);
    }

    // The control as it paints itself now.
    QImage shot() { return control->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    [[nodiscard]] bool show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window) && settle() && settle();
    }

    [[nodiscard]] bool settle()
    {
        const int before = probePaints.paints;
        probe->update();
        return QTest::qWaitFor([&] { return probePaints.paints > before; });
    }

    // Whether the control repaints, once pending repaints are done.
    [[nodiscard]] bool repaints()
    {
        controlPaints.paints = 0;
        return settle() && controlPaints.paints > 0;
    }
};

} // namespace

class TTransparentBitmapTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }

    // A warning from Qt (a paint inside a paint, a bad resize) is a fault.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

    void bitMapSetsSizeAndRepaints_data()
    {
        QTest::addColumn<QImage>("before");
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<QSize>("expected");
        const QImage circle = codePicture({79, 79});
        QImage other = codePicture({79, 79});
        other.setPixel(40, 40, silverRgb);
        // clang-format off
        // A new control and an empty picture: a white 32 x 32 square.
        QTest::newRow("empty on a new control")  << QImage()               << QImage()               << QSize(32, 32);
        QTest::newRow("empty after a picture")   << circle                 << QImage()               << QSize(32, 32);
        QTest::newRow("same size, new pixels")   << circle                 << other                  << QSize(79, 79);
        QTest::newRow("larger")                  << codePicture({10, 10}) << circle                 << QSize(79, 79);
        QTest::newRow("other shape")             << circle                 << codePicture({80, 56}) << QSize(80, 56);
        // Only a dimension of 0 becomes 32; small ones stay.
        QTest::newRow("one column")              << QImage()               << codePicture({1, 20})  << QSize(1, 20);
        QTest::newRow("one row")                 << QImage()               << codePicture({20, 1})  << QSize(20, 1);
        // clang-format on
    }

    void bitMapSetsSizeAndRepaints()
    {
        QFETCH(QImage, before);
        QFETCH(QImage, picture);
        QFETCH(QSize, expected);
        Stand stand;
        stand.control->setBitMap(before);
        QVERIFY(stand.show());

        QImage source = picture.copy();
        stand.control->setBitMap(source);
        QCOMPARE(stand.control->size(), expected);
        QVERIFY(stand.repaints());
        QCOMPARE(stand.control->size(), expected);
        // The control keeps a copy: the caller's picture is the caller's.
        if (!source.isNull())
            source.fill(Qt::black);
        const QString diff = mismatch(stand.shot(), expected, [&](int x, int y) {
            return picture.isNull() ? whiteRgb : picture.pixel(x, y);
        });
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // A changed TransparentColor or Stretch repaints; the same value does not.
    void repaintsOnlyOnChange_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("from");
        QTest::addColumn<QVariant>("to");
        QTest::addColumn<bool>("repaints");
        // clang-format off
        QTest::newRow("key -1 to -1")                   << QByteArray("TransparentColor") << QVariant(-1)         << QVariant(-1)         << false;
        QTest::newRow("key -1 to silver")               << QByteArray("TransparentColor") << QVariant(-1)         << QVariant(silver)     << true;
        QTest::newRow("key silver to silver")           << QByteArray("TransparentColor") << QVariant(silver)     << QVariant(silver)     << false;
        QTest::newRow("key silver to -1")               << QByteArray("TransparentColor") << QVariant(silver)     << QVariant(-1)         << true;
        QTest::newRow("key silver to button face")      << QByteArray("TransparentColor") << QVariant(silver)     << QVariant(buttonFace) << true;
        QTest::newRow("key button face to button face") << QByteArray("TransparentColor") << QVariant(buttonFace) << QVariant(buttonFace) << false;
        QTest::newRow("stretch off to off")             << QByteArray("Stretch")          << QVariant(false)      << QVariant(false)      << false;
        QTest::newRow("stretch off to on")              << QByteArray("Stretch")          << QVariant(false)      << QVariant(true)       << true;
        QTest::newRow("stretch on to on")               << QByteArray("Stretch")          << QVariant(true)       << QVariant(true)       << false;
        QTest::newRow("stretch on to off")              << QByteArray("Stretch")          << QVariant(true)       << QVariant(false)      << true;
        // clang-format on
    }

    void repaintsOnlyOnChange()
    {
        QFETCH(QByteArray, property);
        QFETCH(QVariant, from);
        QFETCH(QVariant, to);
        QFETCH(bool, repaints);
        const QImage picture = checkerPicture({30, 20});
        Stand stand;
        stand.control->setBitMap(picture);
        QVERIFY(stand.control->setProperty(property, from));
        QVERIFY(stand.show());
        QVERIFY(!stand.repaints()); // settled

        QVERIFY(stand.control->setProperty(property, to));
        QCOMPARE(stand.repaints(), repaints);
        // What it shows follows the new value.
        const QString diff = mismatch(stand.shot(), picture.size(),
                                      keyed(picture, stand.control->transparentColor()));
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    void transparency_data()
    {
        QTest::addColumn<qint32>("key");
        QTest::addColumn<QRgb>("keyPixel"); // the pixel value the key stands for; 0: none
        // clang-format off
        QTest::newRow("none (-1)")               << qint32(-1)          << QRgb(0);
        QTest::newRow("button face")             << buttonFace          << QRgb(0);
        QTest::newRow("window text")             << windowText          << QRgb(0);
        QTest::newRow("window")                  << windowColour        << QRgb(0);
        QTest::newRow("silver")                  << silver              << silverRgb;
        QTest::newRow("red in the lowest byte")  << qint32(0x00302010)  << qRgb(0x10, 0x20, 0x30);
        QTest::newRow("black")                   << qint32(0)           << blackRgb;
        QTest::newRow("white")                   << qint32(0x00FFFFFF)  << whiteRgb;
        QTest::newRow("absent from the picture") << qint32(0x00030201)  << qRgb(1, 2, 3);
        // clang-format on
    }

    void transparency()
    {
        QFETCH(qint32, key);
        QFETCH(QRgb, keyPixel);
        const QPalette palette = QApplication::palette();
        // Colours near the key, the key with its bytes swapped and the colours
        // the system keys stand for: only an exact match is transparent.
        const QList<QRgb> colors{
            silverRgb,
            qRgb(191, 192, 192),
            qRgb(192, 192, 193),
            qRgb(0x10, 0x20, 0x30),
            qRgb(0x30, 0x20, 0x10),
            blackRgb,
            whiteRgb,
            palette.color(QPalette::Button).rgb(),
            palette.color(QPalette::Base).rgb(),
            palette.color(QPalette::WindowText).rgb(),
        };
        const QImage picture = makePicture(
            {int(colors.size()), 3}, [&](int x, int y) { return y == 1 ? code(x, y) : colors[x]; });
        Stand stand;
        stand.control->setBitMap(picture);
        stand.control->setTransparentColor(key);
        const QString diff = mismatch(stand.shot(), picture.size(), [&](int x, int y) {
            const QRgb pixel = picture.pixel(x, y);
            return keyPixel != 0 && pixel == keyPixel ? panelColor.rgb() : pixel;
        });
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // The transparent parts show the container's colour, and follow it when
    // it changes.
    void transparentPartsFollowTheContainer()
    {
        const QImage picture = checkerPicture({30, 20});
        Stand stand;
        stand.control->setBitMap(picture);
        stand.control->setTransparentColor(silver);
        QVERIFY(stand.show());
        const QColor green(30, 160, 90);
        QPalette palette = stand.panel->palette();
        palette.setColor(QPalette::Window, green);
        stand.panel->setPalette(palette);
        QVERIFY(stand.repaints());
        const QString diff = mismatch(stand.shot(), picture.size(), [&](int x, int y) {
            return checkerSilver(x, y) ? green.rgb() : picture.pixel(x, y);
        });
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // With Stretch the whole picture is drawn into the control, rows and
    // columns dropped or repeated, never blended; the transparent parts in
    // the control's colour.
    void stretch_data()
    {
        QTest::addColumn<QSize>("pictureSize");
        QTest::addColumn<QSize>("controlSize");
        QTest::newRow("up twice") << QSize(6, 4) << QSize(12, 8);
        QTest::newRow("up uneven") << QSize(5, 3) << QSize(13, 7);
        QTest::newRow("down twice") << QSize(12, 8) << QSize(6, 4);
        QTest::newRow("down uneven") << QSize(13, 11) << QSize(5, 4);
        QTest::newRow("wider, lower") << QSize(7, 9) << QSize(15, 4);
        QTest::newRow("same size") << QSize(6, 4) << QSize(6, 4);
    }

    void stretch()
    {
        QFETCH(QSize, pictureSize);
        QFETCH(QSize, controlSize);
        Stand stand;
        TTransparentBitmap& control = *stand.control;
        control.setStretch(true);
        control.setBitMap(codePicture(pictureSize));
        control.resize(controlSize);
        const QImage mapped = stand.shot();
        QCOMPARE(control.size(), controlSize);

        // Which picture column each control column shows, and which row each
        // row: one picture pixel that it covers when the picture is laid over
        // the control, in order, every one when the control is larger.
        auto line = [&](int length, int count, auto coordinate) {
            std::vector<int> shown;
            for (int t = 0; t < length; ++t) {
                const int i = coordinate(t);
                const bool covers = qint64(i) * length < qint64(t + 1) * count
                    && qint64(i + 1) * length > qint64(t) * count;
                if (!covers || (!shown.empty() && i < shown.back()))
                    return std::vector<int>{};
                shown.push_back(i);
            }
            if (length >= count && int(std::set<int>(shown.begin(), shown.end()).size()) != count)
                return std::vector<int>{};
            return shown;
        };
        const std::vector<int> column = line(controlSize.width(), pictureSize.width(),
                                             [&](int x) { return qRed(mapped.pixel(x, 0)); });
        const std::vector<int> row = line(controlSize.height(), pictureSize.height(),
                                          [&](int y) { return qGreen(mapped.pixel(0, y)); });
        QVERIFY(!column.empty() && !row.empty());
        // Rows and columns are taken whole.
        QString diff = mismatch(mapped, controlSize, [&](int x, int y) {
            return code(column[size_t(x)], row[size_t(y)]);
        });
        QVERIFY2(diff.isEmpty(), qPrintable(diff));

        // The same picture with silver parts, keyed and not.
        const QImage picture = checkerPicture(pictureSize);
        control.setBitMap(picture);
        for (const qint32 key : {silver, qint32(-1)}) {
            control.setTransparentColor(key);
            control.resize(controlSize);
            diff = mismatch(stand.shot(), controlSize, [&](int x, int y) {
                return keyed(picture, key)(column[size_t(x)], row[size_t(y)]);
            });
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
            QCOMPARE(control.size(), controlSize);
        }
    }

    // Without Stretch a control given another size returns to the picture's
    // at its next paint, then rests.
    void snapsBackToPictureSize_data()
    {
        QTest::addColumn<QSize>("otherSize");
        QTest::addColumn<qint32>("key");
        QTest::newRow("larger") << QSize(50, 40) << qint32(-1);
        QTest::newRow("smaller") << QSize(5, 4) << qint32(-1);
        QTest::newRow("wider, lower, keyed") << QSize(60, 3) << silver;
        QTest::newRow("narrower, higher, keyed") << QSize(2, 70) << silver;
    }

    void snapsBackToPictureSize()
    {
        QFETCH(QSize, otherSize);
        QFETCH(qint32, key);
        const QImage picture = checkerPicture({30, 20});
        Stand stand;
        stand.control->setTransparentColor(key);
        stand.control->setBitMap(picture);
        // Rendered: the first paint sets the size, the next shows the picture.
        stand.control->resize(otherSize);
        (void)stand.shot();
        QCOMPARE(stand.control->size(), picture.size());
        const QString diff = mismatch(stand.shot(), picture.size(), keyed(picture, key));
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        // On the screen: the control's own repaint brings it back.
        QVERIFY(stand.show());
        stand.control->resize(otherSize);
        QVERIFY(QTest::qWaitFor([&] { return stand.control->size() == picture.size(); }));
        QVERIFY(stand.settle());
        QVERIFY(!stand.repaints());
    }

    // Changes made through the picture that BitMap gives show at the next
    // paint, without a resize.
    void inPlaceChangesShowAtNextPaint_data()
    {
        QTest::addColumn<qint32>("key");
        QTest::newRow("no transparency") << qint32(-1);
        QTest::newRow("silver") << silver;
    }

    void inPlaceChangesShowAtNextPaint()
    {
        QFETCH(qint32, key);
        Stand stand;
        TTransparentBitmap& control = *stand.control;
        control.setTransparentColor(key);
        control.setBitMap(codePicture({10, 8}));
        (void)stand.shot();
        control.bitMap().setPixel(3, 2, silverRgb);
        control.bitMap().setPixel(4, 2, qRgb(1, 2, 3));
        QCOMPARE(control.size(), QSize(10, 8));
        const QString diff = mismatch(stand.shot(), {10, 8}, keyed(control.bitMap(), key));
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // A window layout sets the geometry first, then the picture: the stored
    // size holds until the first paint. An unreadable picture is reported
    // and leaves the control empty (white).
    void pictureFromLayout()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QImage picture = checkerPicture({20, 10});
        const QString path = dir.filePath(QStringLiteral("shape.bmp"));
        QVERIFY(picture.save(path, "BMP"));
        Stand stand;
        TTransparentBitmap& control = *stand.control;
        control.setGeometry(168, 24, 40, 30);
        control.setTransparentColor(silver);
        QVERIFY(control.setProperty("picture", path));
        QCOMPARE(control.geometry(), QRect(168, 24, 40, 30));
        (void)stand.shot();
        QCOMPARE(control.geometry(), QRect(168, 24, 20, 10));
        QString diff = mismatch(stand.shot(), picture.size(), keyed(picture, silver));
        QVERIFY2(diff.isEmpty(), qPrintable(diff));

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("missing\\.bmp")));
        control.setPicture(dir.filePath(QStringLiteral("missing.bmp")));
        QCOMPARE(control.size(), QSize(20, 10));
        diff = mismatch(stand.shot(), {20, 10}, [](int, int) { return whiteRgb; });
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // In design mode a dashed black outline lies over the picture, or over
    // the white of an empty one.
    void designModeOutline_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::newRow("empty") << QImage();
        QTest::newRow("picture") << codePicture({40, 30});
    }

    void designModeOutline()
    {
        QFETCH(QImage, picture);
        Stand stand;
        stand.control->setBitMap(picture);
        stand.control->setDesignMode(true);
        const QImage shot = stand.shot();
        const int w = stand.control->width();
        const int h = stand.control->height();
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const QRgb got = pixelOf(shot, x, y);
                const QRgb under = picture.isNull() ? whiteRgb : pixelOf(picture, x, y);
                const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
                if (got != under && !(edge && got == blackRgb))
                    QFAIL(qPrintable(
                        QStringLiteral("pixel (%1, %2): %3").arg(x).arg(y).arg(hex(got))));
            }
        }
        // Each side dashed: black and not black both on it.
        const struct {
            QPoint start;
            QPoint step;
            int length;
        } sides[] = {{{0, 0}, {1, 0}, w},
                     {{0, h - 1}, {1, 0}, w},
                     {{0, 0}, {0, 1}, h},
                     {{w - 1, 0}, {0, 1}, h}};
        for (const auto& side : sides) {
            int black = 0;
            for (int k = 0; k < side.length; ++k) {
                const QPoint p = side.start + k * side.step;
                black += pixelOf(shot, p.x(), p.y()) == blackRgb ? 1 : 0;
            }
            QVERIFY(black > 0 && black < side.length);
        }
    }
};

QTEST_MAIN(TTransparentBitmapTest)
#include "ttransparentbitmap_test.moc"
