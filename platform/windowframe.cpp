#include "windowframe.h"

#include <QWidget>

namespace platform {

QMargins windowFrame(QWidget* window)
{
    const QRect client = window->geometry();
    const QRect outer = window->frameGeometry();
    const QMargins known(client.left() - outer.left(), client.top() - outer.top(),
                         outer.right() - client.right(), outer.bottom() - client.bottom());
    return known.isNull() ? frameBeforeShow(window) : known;
}

} // namespace platform
