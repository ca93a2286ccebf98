#pragma once
// The application object: title, help file, main window, error box, help
// commands and the message beep, as the rest of the program sees them.

#include <QApplication>
#include <QMessageBox>
#include <QPalette>
#include <QString>

#include <functional>

class QWidget;

namespace platform {

// The light palette that the windows were laid out with: black text on a
// light grey face, the palette Qt gives on a desktop without a theme. The
// windows and their message boxes take it whatever the desktop's theme, so
// that the labels stay black and the group captions' pure colours readable.
[[nodiscard]] QPalette designedPalette();

// The program's QApplication. Its notify() is the last line of defence: an
// exception that some event handler let escape is shown, not propagated.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// A message box as the program asks for one: caption, text, icon, one OK
// button that is also the Esc button, centred on the screen.
struct MessageBoxRequest {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Critical;
};

class Application {
public:
    static void setTitle(const QString& title);
    static QString title();

    static void setHelpFile(const QString& file);
    static QString helpFile();

    // The first window created becomes the main window; closing it ends the
    // event loop.
    static void formCreated(QWidget* form);
    static QWidget* mainForm();
    static void mainFormClosed();
    // Forgets the main window (tests create windows many times over).
    static void reset();

    // Shows the main window and runs the event loop until it is closed.
    static int run();

    // The application's error box: caption = title, text = message + ".",
    // stop icon, OK.
    static void showError(const QString& message);

    // A modal message box; goes through the hook below.
    static void messageBox(const MessageBoxRequest& request);
    using MessageBoxHook = std::function<void(const MessageBoxRequest&)>;
    // Replaces the real box (tests record instead of blocking); returns the
    // previous hook. An empty hook restores the real box.
    static MessageBoxHook setMessageBoxHook(MessageBoxHook hook);

    // A help request to the help viewer ventbox-help, started in this
    // program's working directory: command 1 shows the topic of context
    // `data`, command 3 the contents.
    // A viewer that cannot be started is reported in the error box.
    static void helpCommand(int command, quint32 data);
    // The viewer's program: a name, looked for beside this program and then
    // on PATH ("ventbox-help", the default), or an absolute path.
    static void setHelpViewer(const QString& program);
    using HelpHook = std::function<void(const QString& file, int command, quint32 data)>;
    static HelpHook setHelpHook(HelpHook hook);
};

// Help commands: 1 shows the topic of a context, 3 the contents.
inline constexpr int helpCommandContext = 1;
inline constexpr int helpCommandContents = 3;

// MessageBeep: 0xFFFF for the edit fields' key filter, 0 for the count
// fields. Goes through the hook when one is set, else QApplication::beep().
void messageBeep(unsigned type);
using BeepHook = std::function<void(unsigned type)>;
BeepHook setBeepHook(BeepHook hook);

} // namespace platform
