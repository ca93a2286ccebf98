#pragma once
// Help contexts: a number carried by a control (0 means none), set in the
// window layouts as the dynamic property "helpContext".

class QWidget;

namespace platform {

int helpContextOf(const QWidget* widget);

// The first non-zero help context on `from` and its containers up to its
// window, or 0.
int findHelpContext(const QWidget* from);

// F1 in `window`: sends help command 1 with the context found from the
// focused control, or nothing when there is none.
void installF1Help(QWidget* window);

} // namespace platform
