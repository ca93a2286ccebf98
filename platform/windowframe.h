#pragma once
// The frame (title bar and borders) around a top-level window, also before
// the window is first shown: then the X11 window manager is asked for it.

#include <QMargins>

class QWidget;

namespace platform {

// The frame as Qt knows it once the window is shown; before that, the
// frame that the window manager reports it will draw (_NET_FRAME_EXTENTS
// after _NET_REQUEST_FRAME_EXTENTS). None for a frameless window, without
// a window manager that answers, and off X11.
QMargins windowFrame(QWidget* window);

} // namespace platform
