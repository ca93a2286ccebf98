#pragma once
// Fonts of the window layouts.

class QWidget;

namespace platform {

// The layouts' fonts "Arial CE" and "MS Sans Serif": where one is not
// installed (Linux; "Arial CE" is only a name on Windows), Arial or the
// metric-compatible Liberation Sans stands in (DejaVu Sans, the default
// fallback, is wider and overflows the labels). Needs the application.
void installFontSubstitutes();

// The layouts give font sizes in points for 96 pixels per inch; a control's
// character height is the point size times 96 / 72, rounded (8 pt -> 11 px).
// Sets every font under `root`, and root's own, to that pixel height.
void applyPixelFonts(QWidget* root);

} // namespace platform
