#include "helpcontext.h"

#include "application.h"
#include "handler.h"

#include <QApplication>
#include <QShortcut>
#include <QVariant>
#include <QWidget>

namespace platform {

int helpContextOf(const QWidget* widget)
{
    return widget ? widget->property("helpContext").toInt() : 0;
}

int findHelpContext(const QWidget* from)
{
    for (const QWidget* w = from; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (const int context = helpContextOf(w))
            return context;
    }
    return 0;
}

void installF1Help(QWidget* window)
{
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, window, guarded([window] {
                         const QWidget* focus = window->focusWidget();
                         if (const int context = findHelpContext(focus ? focus : window))
                             Application::helpCommand(helpCommandContext,
                                                      static_cast<quint32>(context));
                     }));
}

} // namespace platform
