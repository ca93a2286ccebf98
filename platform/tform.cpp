#include "tform.h"

#include "application.h"
#include "handler.h"
#include "windowframe.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>

namespace platform {

namespace {

// The program's windows are windows to a screen reader, which announces
// them by their captions (a plain QWidget would be a client area).
QAccessibleInterface* formInterface(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (className != QLatin1String("platform::TForm") || !widget || !widget->isWindow())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

TForm::TForm(QWidget* parent) : QWidget(parent, Qt::Window)
{
    static const bool accessible = (QAccessible::installFactory(formInterface), true);
    Q_UNUSED(accessible);
    Application::formCreated(this);
    setPalette(designedPalette()); // not the desktop theme's
    // What a task bar shows for a minimised window: the application's title.
    setWindowIconText(Application::title());
}

void TForm::setDialogFrame(int clientWidth, int clientHeight)
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(clientWidth, clientHeight);
}

void TForm::setBorderless(int clientWidth, int clientHeight)
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(clientWidth, clientHeight);
}

void TForm::showAndRaise()
{
    show();
    raise();
    activateWindow();
}

void TForm::closeEvent(QCloseEvent* event)
{
    runGuarded([this] { FormClose(); });
    event->accept(); // the window hides; it is never destroyed before the end
    if (Application::mainForm() == this)
        Application::mainFormClosed();
}

void TForm::showEvent(QShowEvent* event)
{
    if (!positioned_ && !event->spontaneous()) {
        centreOnScreen();
        positioned_ = true;
    }
    QWidget::showEvent(event);
}

void TForm::centreOnScreen()
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    // The whole window, frame included, also before the first show.
    const QMargins frame = windowFrame(this);
    QRect window = geometry().marginsAdded(frame);
    window.moveCenter(s->geometry().center());
    setGeometry(window.marginsRemoved(frame));
}

} // namespace platform
