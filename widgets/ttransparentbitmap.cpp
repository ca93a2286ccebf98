#include "widgets/ttransparentbitmap.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabWidget>

#include <vector>

namespace {

constexpr int defaultSide = 32;

// `top` laid over `bottom`.
QColor over(const QColor& top, const QColor& bottom)
{
    if (top.alpha() == 255)
        return top;
    const double a = top.alphaF();
    auto mix = [a](float t, float b) {
        return a * static_cast<double>(t) + (1.0 - a) * static_cast<double>(b);
    };
    return QColor::fromRgbF(static_cast<float>(mix(top.redF(), bottom.redF())),
                            static_cast<float>(mix(top.greenF(), bottom.greenF())),
                            static_cast<float>(mix(top.blueF(), bottom.blueF())));
}

QTabWidget* tabWidgetOfPage(const QWidget* widget)
{
    const QWidget* stack = widget->parentWidget();
    if (!stack || !qobject_cast<const QStackedWidget*>(stack))
        return nullptr;
    auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
    if (!tabs || tabs->indexOf(const_cast<QWidget*>(widget)) < 0)
        return nullptr;
    return tabs;
}

// The fill of a tab widget's pane as its style draws it over `behind`.
QColor tabPaneColor(const QTabWidget* tabs, const QColor& behind)
{
    constexpr int side = 64;
    QImage sample(side, side, QImage::Format_ARGB32_Premultiplied);
    sample.fill(behind);
    QStyleOptionTabWidgetFrame option;
    option.initFrom(tabs);
    option.rect = QRect(0, 0, side, side);
    option.lineWidth = tabs->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, tabs);
    const bool rounded = tabs->tabShape() == QTabWidget::Rounded;
    switch (tabs->tabPosition()) {
    case QTabWidget::North:
        option.shape = rounded ? QTabBar::RoundedNorth : QTabBar::TriangularNorth;
        break;
    case QTabWidget::South:
        option.shape = rounded ? QTabBar::RoundedSouth : QTabBar::TriangularSouth;
        break;
    case QTabWidget::West:
        option.shape = rounded ? QTabBar::RoundedWest : QTabBar::TriangularWest;
        break;
    case QTabWidget::East:
        option.shape = rounded ? QTabBar::RoundedEast : QTabBar::TriangularEast;
        break;
    }
    {
        QPainter painter(&sample);
        tabs->style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, tabs);
    }
    return QColor(sample.pixel(side / 2, side / 2));
}

// The colour that `widget` shows over its area: its own background when it
// paints one, the pane of the tab widget when it is a page, otherwise
// whatever its own container shows.
QColor shownBy(const QWidget* widget)
{
    if (!widget)
        return QGuiApplication::palette().color(QPalette::Window);
    // Style sheets with a background set WA_StyledBackground and put their
    // colour in the palette.
    const bool paintsBackground = widget->isWindow() || widget->autoFillBackground()
        || widget->testAttribute(Qt::WA_StyledBackground);
    if (paintsBackground) {
        const QColor own = widget->palette().color(widget->backgroundRole());
        return own.alpha() == 255 || widget->isWindow()
            ? own
            : over(own, shownBy(widget->parentWidget()));
    }
    if (const QTabWidget* tabs = tabWidgetOfPage(widget); tabs && !tabs->documentMode())
        return tabPaneColor(tabs, shownBy(tabs));
    return shownBy(widget->parentWidget());
}

} // namespace

TTransparentBitmap::TTransparentBitmap(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(defaultSide, defaultSide);
}

void TTransparentBitmap::setBitMap(const QImage& source)
{
    picture_ = source;
    const int height = picture_.height() > 0 ? picture_.height() : defaultSide;
    const int width = picture_.width() > 0 ? picture_.width() : defaultSide;
    resize(width, height);
    update();
}

void TTransparentBitmap::setTransparentColor(qint32 value)
{
    if (value == transparentColor_)
        return;
    transparentColor_ = value;
    update();
}

void TTransparentBitmap::setStretch(bool value)
{
    if (value == stretch_)
        return;
    stretch_ = value;
    update();
}

void TTransparentBitmap::setDesignMode(bool value)
{
    if (value == designMode_)
        return;
    designMode_ = value;
    update();
}

QColor TTransparentBitmap::color() const
{
    QColor shown = shownBy(parentWidget());
    shown.setAlpha(255);
    return shown;
}

void TTransparentBitmap::setPicture(const QString& path)
{
    picturePath_ = path;
    if (!picture_.load(path))
        qWarning("TTransparentBitmap: cannot read the picture %s", qUtf8Printable(path));
    update();
}

const QImage& TTransparentBitmap::composed(QSize area, QColor background)
{
    // Transparency is in force only for an RGB value; system colours and
    // the initial -1 are negative.
    const qint32 key = transparentColor_;
    const QRgb fill = background.rgb() | 0xFF000000u;
    if (!composed_.isNull() && composed_.size() == area && composedPicture_ == picture_.cacheKey()
        && composedKey_ == key && (key < 0 || composedBackground_ == fill))
        return composed_;

    QImage natural = picture_.convertToFormat(QImage::Format_RGB32);
    if (key >= 0) {
        // The key colour is stored with red in the lowest byte.
        const auto bits = static_cast<quint32>(key);
        const QRgb keyRgb = qRgb(static_cast<int>(bits & 0xFF), static_cast<int>(bits >> 8 & 0xFF),
                                 static_cast<int>(bits >> 16 & 0xFF))
            & 0x00FFFFFFu;
        for (int y = 0; y < natural.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(natural.scanLine(y));
            for (int x = 0; x < natural.width(); ++x) {
                if ((line[x] & 0x00FFFFFFu) == keyRgb)
                    line[x] = fill;
            }
        }
    }

    if (natural.size() == area) {
        composed_ = natural;
    } else {
        // Nearest neighbour: each target pixel takes the source pixel under
        // its centre.
        composed_ = QImage(area, QImage::Format_RGB32);
        auto sourceIndex = [](int target, int targetLength, int sourceLength) {
            return static_cast<int>((2 * static_cast<qint64>(target) + 1) * sourceLength
                                    / (2 * static_cast<qint64>(targetLength)));
        };
        std::vector<int> columns(static_cast<size_t>(area.width()));
        for (int x = 0; x < area.width(); ++x)
            columns[static_cast<size_t>(x)] = sourceIndex(x, area.width(), natural.width());
        for (int y = 0; y < area.height(); ++y) {
            const auto* from = reinterpret_cast<const QRgb*>(
                natural.constScanLine(sourceIndex(y, area.height(), natural.height())));
            auto* to = reinterpret_cast<QRgb*>(composed_.scanLine(y));
            for (int x = 0; x < area.width(); ++x)
                to[x] = from[columns[static_cast<size_t>(x)]];
        }
    }
    composedPicture_ = picture_.cacheKey();
    composedKey_ = key;
    composedBackground_ = fill;
    return composed_;
}

void TTransparentBitmap::paintEvent(QPaintEvent*)
{
    const QRect area = rect();
    {
        QPainter painter(this);
        if (picture_.isNull()) {
            painter.fillRect(area, Qt::white);
        } else {
            // With transparency the composed picture holds the control's
            // colour already, so the control's area gets one plain draw.
            const QColor background = transparentColor_ >= 0 ? color() : QColor();
            painter.drawImage(area.topLeft(), composed(area.size(), background));
        }
        if (designMode_) {
            painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(area.adjusted(0, 0, -1, -1));
        }
    }
    // Without Stretch the control takes the picture's size; a change
    // repaints it at that size, no change does nothing.
    if (!stretch_ && !picture_.isNull())
        resize(picture_.size());
}
