// The transparent bitmap control and the colour values it takes.

#include "widgets/ttransparentbitmap.h"

#include <QApplication>
#include <QFrame>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <set>

namespace tcolor {

// Colour values as the control takes them: RGB with red in the lowest byte,
// or a system colour (the top bit set), which means no transparency.
constexpr qint32 silver = 0x00C0C0C0;
constexpr qint32 window = static_cast<qint32>(0x80000005u);
constexpr qint32 windowText = static_cast<qint32>(0x80000008u);
constexpr qint32 buttonFace = static_cast<qint32>(0x8000000Fu);

} // namespace tcolor

namespace {

using PixelFn = std::function<QRgb(int x, int y)>;

constexpr QRgb silverRgb = qRgb(192, 192, 192);
constexpr QRgb whiteRgb = qRgb(255, 255, 255);
constexpr QRgb blackRgb = qRgb(0, 0, 0);
// Colour of the panel the control stands on where the test needs one that
// appears in no picture.
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
int codeColumn(QRgb pixel)
{
    return qBlue(pixel) == 0x55 ? qRed(pixel) : -1;
}
int codeRow(QRgb pixel)
{
    return qBlue(pixel) == 0x55 ? qGreen(pixel) : -1;
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

// Compares the `size` pixels of `shot` from `origin` with `expected`;
// returns a description of the first difference, or nothing.
QString mismatch(const QImage& shot, QPoint origin, QSize size, const PixelFn& expected)
{
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb got = pixelOf(shot, origin.x() + x, origin.y() + y);
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

QImage shotOf(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
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

// The control on a panel of its own colour, not shown.
struct Stand {
    QFrame panel;
    TTransparentBitmap* control;

    Stand() : control(new TTransparentBitmap(&panel))
    {
        panel.resize(200, 150);
        panel.setAutoFillBackground(true);
        QPalette palette = panel.palette();
        palette.setColor(QPalette::Window, panelColor);
        panel.setPalette(palette);
        control->move(10, 10);
    }

    QImage shot() { return shotOf(*control); }
};

enum class Container { Panel, TabPage, BareWidget };

// A shown window with the control on a container and, far from it, a probe
// widget. A repaint that the probe asks for is handled in the same pass as
// every repaint requested before it, so once the probe has painted, the
// control has painted too if anything asked it to.
struct Scene {
    QWidget window;
    QWidget* container = nullptr;
    // Whose palette decides the colour that the container shows.
    QWidget* colorOwner = nullptr;
    TTransparentBitmap* control = nullptr;
    QWidget* probe = nullptr;
    PaintCounter controlPaints;
    PaintCounter probePaints;

    explicit Scene(Container kind)
    {
        window.resize(300, 220);
        QPalette dark = window.palette();
        dark.setColor(QPalette::Window, QColor(20, 40, 120));
        window.setPalette(dark);
        switch (kind) {
        case Container::Panel: {
            // As on the splash window: a raised panel in the button-face colour.
            auto* panel = new QFrame(&window);
            panel->setGeometry(0, 0, 220, 170);
            panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
            panel->setLineWidth(5);
            panel->setAutoFillBackground(true);
            QPalette palette = panel->palette();
            palette.setColor(QPalette::Window, palette.color(QPalette::Button));
            panel->setPalette(palette);
            container = colorOwner = panel;
            break;
        }
        case Container::TabPage: {
            // As on the port area window.
            auto* tabs = new QTabWidget(&window);
            tabs->setGeometry(0, 0, 220, 170);
            container = new QWidget;
            tabs->addTab(container, QStringLiteral("Kruh"));
            tabs->addTab(new QWidget, QStringLiteral("Obdélník"));
            colorOwner = tabs;
            break;
        }
        case Container::BareWidget: {
            // Has a colour in its palette but paints no background: what
            // shows is the window's colour.
            auto* bare = new QWidget(&window);
            bare->setGeometry(0, 0, 220, 170);
            QPalette palette = bare->palette();
            palette.setColor(QPalette::Window, QColor(200, 30, 30));
            bare->setPalette(palette);
            container = bare;
            colorOwner = &window;
            break;
        }
        }
        control = new TTransparentBitmap(container);
        control->move(24, 16);
        control->installEventFilter(&controlPaints);
        probe = new QWidget(&window);
        probe->setGeometry(270, 190, 20, 20);
        probe->setAutoFillBackground(true);
        probe->installEventFilter(&probePaints);
    }

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

    [[nodiscard]] bool waitForControlPaint()
    {
        return QTest::qWaitFor([&] { return controlPaints.paints > 0; });
    }

    // The colour the container shows at a spot that nothing covers.
    QRgb containerColorIn(const QImage& shot) const
    {
        const QPoint spot =
            container->mapTo(&window, QPoint(container->width() - 12, container->height() - 12));
        return pixelOf(shot, spot.x(), spot.y());
    }

    QPoint controlOrigin() const { return control->mapTo(&window, QPoint(0, 0)); }
};

} // namespace

Q_DECLARE_METATYPE(Container)

class TTransparentBitmapTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void newControl();
    void bitMapSetsSizeAndRepaints_data();
    void bitMapSetsSizeAndRepaints();
    void repaintsOnlyOnChange_data();
    void repaintsOnlyOnChange();
    void transparency_data();
    void transparency();
    void transparentPartsShowContainer_data();
    void transparentPartsShowContainer();
    void stretch_data();
    void stretch();
    void snapsBackToPictureSize_data();
    void snapsBackToPictureSize();
    void inPlaceChangesShowAtNextPaint_data();
    void inPlaceChangesShowAtNextPaint();
    void pictureFromLayoutKeepsSize();
    void designModeOutline_data();
    void designModeOutline();
};

void TTransparentBitmapTest::initTestCase()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
}

void TTransparentBitmapTest::init()
{
    // A warning from Qt (a paint inside a paint, a bad resize) is a fault.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

void TTransparentBitmapTest::newControl()
{
    Stand stand;
    TTransparentBitmap& control = *stand.control;
    QCOMPARE(control.size(), QSize(32, 32));
    QVERIFY(control.bitMap().isNull());
    QCOMPARE(control.transparentColor(), -1);
    QCOMPARE(control.property("TransparentColor").toInt(), -1);
    QCOMPARE(control.stretch(), false);
    QCOMPARE(control.designMode(), false);
    QVERIFY(control.testAttribute(Qt::WA_OpaquePaintEvent));

    const QImage shot = stand.shot();
    const QString diff = mismatch(shot, {}, {32, 32}, [](int, int) { return whiteRgb; });
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    QCOMPARE(control.size(), QSize(32, 32));
    QVERIFY(!control.testAttribute(Qt::WA_NativeWindow));
}

void TTransparentBitmapTest::bitMapSetsSizeAndRepaints_data()
{
    QTest::addColumn<QImage>("before");
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QSize>("expected");

    const QImage circle = codePicture({79, 79});
    QImage other = codePicture({79, 79});
    other.setPixel(40, 40, silverRgb);
    QTest::newRow("empty after a picture") << circle << QImage() << QSize(32, 32);
    QTest::newRow("same size, new pixels") << circle << other << QSize(79, 79);
    QTest::newRow("larger") << codePicture({10, 10}) << circle << QSize(79, 79);
    QTest::newRow("other shape") << circle << codePicture({80, 56}) << QSize(80, 56);
    // Only a dimension of 0 becomes 32; small ones stay.
    QTest::newRow("one column") << QImage() << codePicture({1, 20}) << QSize(1, 20);
    QTest::newRow("one row") << QImage() << codePicture({20, 1}) << QSize(20, 1);
}

void TTransparentBitmapTest::bitMapSetsSizeAndRepaints()
{
    QFETCH(QImage, before);
    QFETCH(QImage, picture);
    QFETCH(QSize, expected);

    Scene scene(Container::Panel);
    scene.control->setBitMap(before);
    QVERIFY(scene.show());
    scene.controlPaints.paints = 0;

    QImage source = picture.copy();
    scene.control->setBitMap(source);
    QCOMPARE(scene.control->size(), expected);
    QVERIFY(scene.waitForControlPaint());
    QCOMPARE(scene.control->size(), expected);

    // The control keeps a copy: the caller's picture is the caller's.
    if (!source.isNull())
        source.fill(Qt::black);
    const QImage shot = shotOf(*scene.control);
    const QString diff = mismatch(shot, {}, expected, [&](int x, int y) {
        return picture.isNull() ? whiteRgb : picture.pixel(x, y);
    });
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void TTransparentBitmapTest::repaintsOnlyOnChange_data()
{
    QTest::addColumn<bool>("stretchProperty");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("repaints");

    QTest::newRow("key -1 to -1") << false << -1 << -1 << false;
    QTest::newRow("key -1 to silver") << false << -1 << tcolor::silver << true;
    QTest::newRow("key silver to silver") << false << tcolor::silver << tcolor::silver << false;
    QTest::newRow("key silver to -1") << false << tcolor::silver << -1 << true;
    QTest::newRow("key silver to button face")
        << false << tcolor::silver << tcolor::buttonFace << true;
    QTest::newRow("key button face to button face")
        << false << tcolor::buttonFace << tcolor::buttonFace << false;
    QTest::newRow("stretch off to off") << true << 0 << 0 << false;
    QTest::newRow("stretch off to on") << true << 0 << 1 << true;
    QTest::newRow("stretch on to on") << true << 1 << 1 << false;
    QTest::newRow("stretch on to off") << true << 1 << 0 << true;
}

void TTransparentBitmapTest::repaintsOnlyOnChange()
{
    QFETCH(bool, stretchProperty);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, repaints);

    const QImage picture = checkerPicture({30, 20});
    Scene scene(Container::Panel);
    TTransparentBitmap& control = *scene.control;
    control.setBitMap(picture);
    const char* name = stretchProperty ? "Stretch" : "TransparentColor";
    const QVariant fromValue = stretchProperty ? QVariant(from != 0) : QVariant(from);
    const QVariant toValue = stretchProperty ? QVariant(to != 0) : QVariant(to);
    QVERIFY(control.setProperty(name, fromValue));
    QVERIFY(scene.show());

    // Settled: a further pass paints nothing.
    scene.controlPaints.paints = 0;
    QVERIFY(scene.settle());
    QCOMPARE(scene.controlPaints.paints, 0);

    QVERIFY(control.setProperty(name, toValue));
    QCOMPARE(control.property(name), toValue);
    if (repaints) {
        QVERIFY(scene.waitForControlPaint());
    } else {
        QVERIFY(scene.settle());
        QCOMPARE(scene.controlPaints.paints, 0);
    }

    // What it shows now follows the new value.
    const qint32 key = control.transparentColor();
    const QRgb shown = control.color().rgb();
    const QString diff = mismatch(shotOf(control), {}, picture.size(), [&](int x, int y) {
        const QRgb pixel = picture.pixel(x, y);
        return key == tcolor::silver && pixel == silverRgb ? shown : pixel;
    });
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void TTransparentBitmapTest::transparency_data()
{
    QTest::addColumn<qint32>("key");
    // The pixel value that the key stands for; 0 when it stands for none.
    QTest::addColumn<QRgb>("keyPixel");

    QTest::newRow("none (-1)") << qint32(-1) << QRgb(0);
    QTest::newRow("button face") << tcolor::buttonFace << QRgb(0);
    QTest::newRow("window text") << tcolor::windowText << QRgb(0);
    QTest::newRow("window") << tcolor::window << QRgb(0);
    QTest::newRow("silver") << tcolor::silver << silverRgb;
    QTest::newRow("red in the lowest byte") << qint32(0x00302010) << qRgb(0x10, 0x20, 0x30);
    QTest::newRow("black") << qint32(0) << blackRgb;
    QTest::newRow("white") << qint32(0x00FFFFFF) << whiteRgb;
    QTest::newRow("absent from the picture") << qint32(0x00030201) << qRgb(1, 2, 3);
}

void TTransparentBitmapTest::transparency()
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
    const QRgb background = panelColor.rgb();
    const QString diff = mismatch(stand.shot(), {}, picture.size(), [&](int x, int y) {
        const QRgb pixel = picture.pixel(x, y);
        return keyPixel != 0 && pixel == keyPixel ? background : pixel;
    });
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    QCOMPARE(stand.control->color().rgb(), background);

    // Without transparency the same picture looks the same where no pixel
    // is the key.
    const bool keyInPicture = keyPixel != 0 && colors.contains(keyPixel);
    stand.control->setTransparentColor(-1);
    const QImage plain = stand.shot();
    stand.control->setTransparentColor(key);
    QCOMPARE(stand.shot() == plain, !keyInPicture);
}

void TTransparentBitmapTest::transparentPartsShowContainer_data()
{
    QTest::addColumn<Container>("kind");
    QTest::newRow("panel") << Container::Panel;
    QTest::newRow("tab page") << Container::TabPage;
    QTest::newRow("widget without a background") << Container::BareWidget;
}

void TTransparentBitmapTest::transparentPartsShowContainer()
{
    QFETCH(Container, kind);

    const QImage picture = checkerPicture({30, 20});
    Scene scene(kind);
    scene.control->setBitMap(picture);
    scene.control->setTransparentColor(tcolor::silver);
    QVERIFY(scene.show());

    auto check = [&](QRgb shown) {
        const QImage shot = shotOf(scene.window);
        QCOMPARE(scene.containerColorIn(shot), shown);
        QCOMPARE(scene.control->color().rgb(), shown);
        const QString diff =
            mismatch(shot, scene.controlOrigin(), picture.size(), [&](int x, int y) {
                return checkerSilver(x, y) ? shown : picture.pixel(x, y);
            });
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    };

    const QRgb before = scene.containerColorIn(shotOf(scene.window));
    QVERIFY(before != silverRgb);
    check(before);
    if (QTest::currentTestFailed())
        return;

    // The container's colour changes: the control repaints and follows.
    QPalette palette = scene.colorOwner->palette();
    for (auto role : {QPalette::Window, QPalette::Button})
        palette.setColor(role, QColor(30, 160, 90));
    scene.controlPaints.paints = 0;
    scene.colorOwner->setPalette(palette);
    QVERIFY(scene.waitForControlPaint());
    const QRgb after = scene.containerColorIn(shotOf(scene.window));
    QVERIFY(after != before);
    check(after);
}

void TTransparentBitmapTest::stretch_data()
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

void TTransparentBitmapTest::stretch()
{
    QFETCH(QSize, pictureSize);
    QFETCH(QSize, controlSize);
    const int sw = pictureSize.width();
    const int sh = pictureSize.height();
    const int dw = controlSize.width();
    const int dh = controlSize.height();

    Stand stand;
    TTransparentBitmap& control = *stand.control;
    control.setStretch(true);
    control.setBitMap(codePicture(pictureSize));
    control.resize(controlSize);

    // Which picture column and row each pixel of the control shows.
    const QImage mapped = stand.shot();
    QCOMPARE(control.size(), controlSize);
    std::vector<int> column(size_t(dw), -1);
    std::vector<int> row(size_t(dh), -1);
    for (int y = 0; y < dh; ++y) {
        for (int x = 0; x < dw; ++x) {
            const QRgb pixel = pixelOf(mapped, x, y);
            const int i = codeColumn(pixel);
            const int j = codeRow(pixel);
            QVERIFY2(i >= 0 && i < sw && j >= 0 && j < sh,
                     qPrintable(QStringLiteral("(%1, %2) is %3, no picture pixel")
                                    .arg(x)
                                    .arg(y)
                                    .arg(hex(pixel))));
            // Rows and columns are taken whole: dropped or repeated.
            if (y == 0)
                column[size_t(x)] = i;
            if (x == 0)
                row[size_t(y)] = j;
            QCOMPARE(i, column[size_t(x)]);
            QCOMPARE(j, row[size_t(y)]);
        }
    }
    // Nearest neighbour over the whole picture: each pixel shows a picture
    // pixel that it covers when the picture is laid over the control.
    // Pixel t of a line of `length` pixels covers [t, t + 1) * count / length
    // of the picture's `count` pixels; picture pixel i covers [i, i + 1).
    auto covers = [](int t, int i, int count, int length) {
        return qint64(i) * length < qint64(t + 1) * count
            && qint64(i + 1) * length > qint64(t) * count;
    };
    std::set<int> columns;
    std::set<int> rows;
    for (int x = 0; x < dw; ++x) {
        QVERIFY2(covers(x, column[size_t(x)], sw, dw),
                 qPrintable(QStringLiteral("column %1").arg(x)));
        if (x > 0)
            QVERIFY(column[size_t(x)] >= column[size_t(x - 1)]);
        columns.insert(column[size_t(x)]);
    }
    for (int y = 0; y < dh; ++y) {
        QVERIFY2(covers(y, row[size_t(y)], sh, dh), qPrintable(QStringLiteral("row %1").arg(y)));
        if (y > 0)
            QVERIFY(row[size_t(y)] >= row[size_t(y - 1)]);
        rows.insert(row[size_t(y)]);
    }
    if (dw >= sw)
        QCOMPARE(int(columns.size()), sw);
    if (dh >= sh)
        QCOMPARE(int(rows.size()), sh);

    // The same picture with silver parts, keyed: the same mapping, the
    // silver parts in the control's colour.
    const QImage picture = checkerPicture(pictureSize);
    control.setBitMap(picture);
    control.setTransparentColor(tcolor::silver);
    control.resize(controlSize);
    const QRgb background = panelColor.rgb();
    QString diff = mismatch(stand.shot(), {}, controlSize, [&](int x, int y) {
        const int i = column[size_t(x)];
        const int j = row[size_t(y)];
        return checkerSilver(i, j) ? background : code(i, j);
    });
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    QCOMPARE(control.size(), controlSize);

    // Without transparency the silver stays.
    control.setTransparentColor(-1);
    diff = mismatch(stand.shot(), {}, controlSize,
                    [&](int x, int y) { return picture.pixel(column[size_t(x)], row[size_t(y)]); });
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void TTransparentBitmapTest::snapsBackToPictureSize_data()
{
    QTest::addColumn<QSize>("otherSize");
    QTest::addColumn<qint32>("key");

    QTest::newRow("larger") << QSize(50, 40) << qint32(-1);
    QTest::newRow("smaller") << QSize(5, 4) << qint32(-1);
    QTest::newRow("wider, lower, keyed") << QSize(60, 3) << tcolor::silver;
    QTest::newRow("narrower, higher, keyed") << QSize(2, 70) << tcolor::silver;
}

void TTransparentBitmapTest::snapsBackToPictureSize()
{
    QFETCH(QSize, otherSize);
    QFETCH(qint32, key);

    const QImage picture = checkerPicture({30, 20});
    auto expected = [&](int x, int y) {
        return key >= 0 && checkerSilver(x, y) ? panelColor.rgb() : picture.pixel(x, y);
    };

    // Painted by rendering: the first paint sets the size, the next one
    // shows the picture at its own size.
    {
        Stand stand;
        stand.control->setTransparentColor(key);
        stand.control->setBitMap(picture);
        stand.control->resize(otherSize);
        (void)stand.shot();
        QCOMPARE(stand.control->size(), picture.size());
        const QString diff = mismatch(stand.shot(), {}, picture.size(), expected);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // On screen: the control's own repaint brings it back, then it rests.
    Scene scene(Container::Panel);
    scene.control->setBitMap(picture);
    QVERIFY(scene.show());
    scene.control->resize(otherSize);
    QVERIFY(QTest::qWaitFor([&] { return scene.control->size() == picture.size(); }));
    QVERIFY(scene.settle());
    scene.controlPaints.paints = 0;
    QVERIFY(scene.settle());
    QCOMPARE(scene.controlPaints.paints, 0);
}

void TTransparentBitmapTest::inPlaceChangesShowAtNextPaint_data()
{
    QTest::addColumn<qint32>("key");
    QTest::newRow("no transparency") << qint32(-1);
    QTest::newRow("silver") << tcolor::silver;
}

void TTransparentBitmapTest::inPlaceChangesShowAtNextPaint()
{
    QFETCH(qint32, key);

    Stand stand;
    TTransparentBitmap& control = *stand.control;
    control.setTransparentColor(key);
    control.setBitMap(codePicture({10, 8}));
    (void)stand.shot();

    // Through the object that BitMap gives: no resize, shown at next paint.
    control.bitMap().setPixel(3, 2, silverRgb);
    control.bitMap().setPixel(4, 2, qRgb(1, 2, 3));
    QCOMPARE(control.size(), QSize(10, 8));
    const QImage shot = stand.shot();
    QCOMPARE(pixelOf(shot, 3, 2), key >= 0 ? panelColor.rgb() : silverRgb);
    QCOMPARE(pixelOf(shot, 4, 2), qRgb(1, 2, 3));
    QCOMPARE(pixelOf(shot, 5, 2), code(5, 2));
}

void TTransparentBitmapTest::pictureFromLayoutKeepsSize()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QImage picture = checkerPicture({20, 10});
    const QString path = dir.filePath(QStringLiteral("shape.bmp"));
    QVERIFY(picture.save(path, "BMP"));

    // The order in which a layout sets the properties: geometry first.
    Stand stand;
    TTransparentBitmap& control = *stand.control;
    control.setGeometry(168, 24, 40, 30);
    control.setTransparentColor(tcolor::silver);
    QVERIFY(control.setProperty("picture", path));
    QCOMPARE(control.geometry(), QRect(168, 24, 40, 30));
    QCOMPARE(control.picture(), path);
    QCOMPARE(control.bitMap().size(), picture.size());
    const QString loaded = mismatch(control.bitMap(), {}, picture.size(),
                                    [&](int x, int y) { return picture.pixel(x, y); });
    QVERIFY2(loaded.isEmpty(), qPrintable(loaded));

    // The first paint gives it the picture's size.
    (void)stand.shot();
    QCOMPARE(control.geometry(), QRect(168, 24, 20, 10));

    // A picture that cannot be read leaves the control empty, at its size.
    const QString missing = dir.filePath(QStringLiteral("missing.bmp"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("missing\\.bmp")));
    control.setPicture(missing);
    QVERIFY(control.bitMap().isNull());
    QCOMPARE(control.size(), QSize(20, 10));
    const QString diff = mismatch(stand.shot(), {}, {20, 10}, [](int, int) { return whiteRgb; });
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void TTransparentBitmapTest::designModeOutline_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<bool>("designMode");

    QTest::newRow("empty, run time") << QImage() << false;
    QTest::newRow("empty, design") << QImage() << true;
    QTest::newRow("picture, run time") << codePicture({40, 30}) << false;
    QTest::newRow("picture, design") << codePicture({40, 30}) << true;
}

void TTransparentBitmapTest::designModeOutline()
{
    QFETCH(QImage, picture);
    QFETCH(bool, designMode);

    Stand stand;
    TTransparentBitmap& control = *stand.control;
    control.setBitMap(picture);
    control.setDesignMode(designMode);
    const QSize size = control.size();
    auto base = [&](int x, int y) {
        return picture.isNull() ? whiteRgb : picture.pixel(x, y) | 0xFF000000u;
    };

    const QImage shot = stand.shot();
    const int w = size.width();
    const int h = size.height();
    // Every pixel is the picture's, or black on the outline.
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb got = pixelOf(shot, x, y);
            const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            if (got != base(x, y) && !(designMode && edge && got == blackRgb))
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2): %3").arg(x).arg(y).arg(hex(got))));
        }
    }
    // In design mode each side is dashed: black and picture both on it.
    struct Side {
        QPoint start;
        QPoint step;
        int length;
    };
    const Side sides[] = {
        {{0, 0}, {1, 0}, w}, {{0, h - 1}, {1, 0}, w}, {{0, 0}, {0, 1}, h}, {{w - 1, 0}, {0, 1}, h}};
    for (const Side& side : sides) {
        int black = 0;
        for (int k = 0; k < side.length; ++k) {
            const QPoint p = side.start + k * side.step;
            black += pixelOf(shot, p.x(), p.y()) == blackRgb ? 1 : 0;
        }
        if (designMode) {
            QVERIFY(black > 0);
            QVERIFY(black < side.length);
        } else {
            QCOMPARE(black, 0);
        }
    }
}

QTEST_MAIN(TTransparentBitmapTest)
#include "ttransparentbitmap_test.moc"
