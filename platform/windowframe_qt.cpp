// The frame before the first show where the platform computes it itself
// (Windows: from the window's style, once the native window exists).

#include "windowframe.h"

#include <QWidget>
#include <QWindow>

namespace platform {

QMargins frameBeforeShow(QWidget* window)
{
    if (window->windowFlags().testFlag(Qt::FramelessWindowHint))
        return {};
    window->winId(); // the native window, not yet shown
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

} // namespace platform
