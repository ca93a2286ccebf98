#include "widgets/tcolor.h"

#include <QGuiApplication>

#include <array>

namespace tcolor {

namespace {

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Index -> the palette entry that plays the same part in Qt's palettes.
constexpr std::array<SystemRole, 25> systemRoles{{
    {QPalette::Active, QPalette::Button},            // scroll bar
    {QPalette::Active, QPalette::Window},            // desktop
    {QPalette::Active, QPalette::Highlight},         // active caption
    {QPalette::Inactive, QPalette::Highlight},       // inactive caption
    {QPalette::Active, QPalette::Window},            // menu
    {QPalette::Active, QPalette::Base},              // window
    {QPalette::Active, QPalette::Shadow},            // window frame
    {QPalette::Active, QPalette::WindowText},        // menu text
    {QPalette::Active, QPalette::WindowText},        // window text
    {QPalette::Active, QPalette::HighlightedText},   // caption text
    {QPalette::Active, QPalette::Window},            // active border
    {QPalette::Inactive, QPalette::Window},          // inactive border
    {QPalette::Active, QPalette::Dark},              // application workspace
    {QPalette::Active, QPalette::Highlight},         // highlight
    {QPalette::Active, QPalette::HighlightedText},   // highlight text
    {QPalette::Active, QPalette::Button},            // button face
    {QPalette::Active, QPalette::Dark},              // button shadow
    {QPalette::Disabled, QPalette::WindowText},      // grey text
    {QPalette::Active, QPalette::ButtonText},        // button text
    {QPalette::Inactive, QPalette::HighlightedText}, // inactive caption text
    {QPalette::Active, QPalette::Light},             // button highlight
    {QPalette::Active, QPalette::Shadow},            // 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},          // 3-D light
    {QPalette::Active, QPalette::ToolTipText},       // info text
    {QPalette::Active, QPalette::ToolTipBase},       // info background
}};

} // namespace

QColor toQColor(qint32 value, const QPalette& palette)
{
    if (!isSystemColor(value)) {
        const auto bits = static_cast<quint32>(value);
        return QColor(static_cast<int>(bits & 0xFF), static_cast<int>(bits >> 8 & 0xFF),
                      static_cast<int>(bits >> 16 & 0xFF));
    }
    const auto index = static_cast<quint32>(value) & 0x7FFFFFFFu;
    if (index >= systemRoles.size())
        return {};
    const SystemRole entry = systemRoles[index];
    QColor color = palette.color(entry.group, entry.role);
    color.setAlpha(255);
    return color;
}

QColor toQColor(qint32 value)
{
    return toQColor(value, QGuiApplication::palette());
}

qint32 fromQColor(const QColor& color)
{
    const QRgb argb = color.rgb();
    return rgb(qRed(argb), qGreen(argb), qBlue(argb));
}

} // namespace tcolor
