#pragma once
// Colour values as the window layouts and the controls give them: a 32-bit
// signed number. A value of 0 or more is an RGB colour with red in the
// lowest byte, green in the second and blue in the third (silver is
// 0x00C0C0C0). A negative value (top bit set) names a system colour by the
// index in its low byte; it is resolved through the current palette.

#include <QColor>
#include <QPalette>
#include <QtGlobal>

namespace tcolor {

[[nodiscard]] constexpr qint32 rgb(int red, int green, int blue)
{
    return static_cast<qint32>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}

[[nodiscard]] constexpr qint32 systemColor(int index)
{
    return static_cast<qint32>(0x80000000u | static_cast<quint32>(index & 0xFF));
}

[[nodiscard]] constexpr bool isSystemColor(qint32 value)
{
    return value < 0;
}

inline constexpr qint32 black = rgb(0, 0, 0);
inline constexpr qint32 silver = rgb(192, 192, 192);
inline constexpr qint32 white = rgb(255, 255, 255);

// System colours, by their platform index.
inline constexpr qint32 scrollBar = systemColor(0);
inline constexpr qint32 desktop = systemColor(1);
inline constexpr qint32 activeCaption = systemColor(2);
inline constexpr qint32 inactiveCaption = systemColor(3);
inline constexpr qint32 menu = systemColor(4);
inline constexpr qint32 window = systemColor(5);
inline constexpr qint32 windowFrame = systemColor(6);
inline constexpr qint32 menuText = systemColor(7);
inline constexpr qint32 windowText = systemColor(8);
inline constexpr qint32 captionText = systemColor(9);
inline constexpr qint32 activeBorder = systemColor(10);
inline constexpr qint32 inactiveBorder = systemColor(11);
inline constexpr qint32 appWorkspace = systemColor(12);
inline constexpr qint32 highlight = systemColor(13);
inline constexpr qint32 highlightText = systemColor(14);
inline constexpr qint32 buttonFace = systemColor(15);
inline constexpr qint32 buttonShadow = systemColor(16);
inline constexpr qint32 grayText = systemColor(17);
inline constexpr qint32 buttonText = systemColor(18);
inline constexpr qint32 inactiveCaptionText = systemColor(19);
inline constexpr qint32 buttonHighlight = systemColor(20);
inline constexpr qint32 darkShadow3D = systemColor(21);
inline constexpr qint32 light3D = systemColor(22);
inline constexpr qint32 infoText = systemColor(23);
inline constexpr qint32 infoBackground = systemColor(24);

// The colour that `value` stands for; system colours are taken from
// `palette`. An unknown system colour gives an invalid QColor.
[[nodiscard]] QColor toQColor(qint32 value, const QPalette& palette);
// The same with the application's palette.
[[nodiscard]] QColor toQColor(qint32 value);

// The RGB value of `color` (alpha is dropped); never a system colour.
[[nodiscard]] qint32 fromQColor(const QColor& color);

} // namespace tcolor
