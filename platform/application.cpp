#include "application.h"

#include "handler.h"

#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QWidget>

#include <exception>

namespace platform {

namespace {

struct State {
    QString title;
    QString helpFile;
    QString helpViewer = QStringLiteral("ventbox-help");
    QPointer<QWidget> mainForm;
    bool mainFormSet = false;
    Application::MessageBoxHook messageBoxHook;
    Application::HelpHook helpHook;
    BeepHook beepHook;
};

State& state()
{
    static State s;
    return s;
}

void showRealMessageBox(const MessageBoxRequest& request)
{
    QMessageBox box(request.icon, request.caption, request.text, QMessageBox::Ok);
    box.setPalette(designedPalette());
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.adjustSize();
    if (const QScreen* screen = box.screen())
        box.move(screen->availableGeometry().center() - box.rect().center());
    box.exec();
}

// The help viewer's executable, or "" when there is none.
QString helpViewerProgram()
{
    const QString& name = state().helpViewer;
    if (QFileInfo(name).isAbsolute())
        return QFileInfo(name).isExecutable() ? name : QString();
    const QString beside =
        QStandardPaths::findExecutable(name, {QCoreApplication::applicationDirPath()});
    return beside.isEmpty() ? QStandardPaths::findExecutable(name) : beside;
}

} // namespace

QPalette designedPalette()
{
    const QColor face(239, 239, 239);
    QPalette palette(Qt::black, face, Qt::white, QColor(159, 159, 159), QColor(184, 184, 184),
                     Qt::black, Qt::white);
    palette.setColor(QPalette::Midlight, QColor(202, 202, 202));
    palette.setColor(QPalette::Shadow, QColor(118, 118, 118));
    palette.setColor(QPalette::AlternateBase, QColor(247, 247, 247));
    palette.setColor(QPalette::Highlight, QColor(48, 140, 198));
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
    const QColor greyText(190, 190, 190);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, greyText);
    palette.setColor(QPalette::Disabled, QPalette::Base, face);
    palette.setColor(QPalette::Disabled, QPalette::Dark, greyText);
    palette.setColor(QPalette::Disabled, QPalette::Shadow, QColor(177, 177, 177));
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
    return palette;
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The main window, not the last one, decides when the program ends.
    setQuitOnLastWindowClosed(false);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    runGuarded([&] { result = QApplication::notify(receiver, event); });
    return result;
}

void Application::setTitle(const QString& title)
{
    // Not Qt's application display name: on X11 Qt appends that to every
    // window caption, and the captions are the windows' own. The title
    // reaches the desktop as the windows' icon text (TForm).
    state().title = title;
}

QString Application::title()
{
    return state().title;
}

void Application::setHelpFile(const QString& file)
{
    state().helpFile = file;
}

QString Application::helpFile()
{
    return state().helpFile;
}

void Application::formCreated(QWidget* form)
{
    if (!state().mainFormSet) {
        state().mainForm = form;
        state().mainFormSet = true;
    }
}

QWidget* Application::mainForm()
{
    return state().mainForm;
}

void Application::mainFormClosed()
{
    QCoreApplication::exit(0);
}

void Application::reset()
{
    state().mainForm = nullptr;
    state().mainFormSet = false;
}

int Application::run()
{
    if (QWidget* form = mainForm())
        form->show();
    return QCoreApplication::exec();
}

void Application::showError(const QString& message)
{
    messageBox({title(), message + QLatin1Char('.'), QMessageBox::Critical});
}

void Application::messageBox(const MessageBoxRequest& request)
{
    if (state().messageBoxHook)
        state().messageBoxHook(request);
    else
        showRealMessageBox(request);
}

Application::MessageBoxHook Application::setMessageBoxHook(MessageBoxHook hook)
{
    return std::exchange(state().messageBoxHook, std::move(hook));
}

void Application::helpCommand(int command, quint32 data)
{
    if (state().helpHook) {
        state().helpHook(helpFile(), command, data);
        return;
    }
    // The viewer runs on its own and outlives this program, so it must not
    // hold its terminal or pipes; it hands the request to a viewer already
    // running and reports a missing file or topic in its own window. A
    // viewer that cannot be started is this program's error.
    QProcess viewer;
    viewer.setProgram(helpViewerProgram());
    viewer.setArguments({helpFile(), QString::number(command), QString::number(data)});
    viewer.setStandardInputFile(QProcess::nullDevice());
    viewer.setStandardOutputFile(QProcess::nullDevice());
    viewer.setStandardErrorFile(QProcess::nullDevice());
    if (viewer.program().isEmpty() || !viewer.startDetached())
        showError(QStringLiteral("Nápovědu nelze zobrazit: prohlížeč nápovědy „%1“ se nepodařilo "
                                 "spustit")
                      .arg(state().helpViewer));
}

void Application::setHelpViewer(const QString& program)
{
    state().helpViewer = program;
}

Application::HelpHook Application::setHelpHook(HelpHook hook)
{
    return std::exchange(state().helpHook, std::move(hook));
}

void messageBeep(unsigned type)
{
    if (state().beepHook)
        state().beepHook(type);
    else
        QApplication::beep();
}

BeepHook setBeepHook(BeepHook hook)
{
    return std::exchange(state().beepHook, std::move(hook));
}

} // namespace platform
