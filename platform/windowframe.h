#pragma once
// The frame (title bar and borders) around a top-level window, also before
// the window is first shown.

#include <QMargins>

class QWidget;

namespace platform {

// The frame as Qt knows it once the window is shown; before that,
// frameBeforeShow(). None for a frameless window.
QMargins windowFrame(QWidget* window);

// The frame the window will get: on X11 what the window manager reports it
// will draw (_NET_FRAME_EXTENTS after _NET_REQUEST_FRAME_EXTENTS; none
// without a window manager that answers, or off X11); on Windows what the
// platform computes from the window's style (windowframe_qt.cpp).
QMargins frameBeforeShow(QWidget* window);

} // namespace platform
