#pragma once
// The form: a top-level window of the program. It registers with the
// application (the first form created is the main window), is a window to
// a screen reader, is centred on the screen when it is first shown, only
// hides when it is closed, and ends the program when it is the main window.

#include <QWidget>

namespace platform {

class TForm : public QWidget {
    Q_OBJECT
public:
    explicit TForm(QWidget* parent = nullptr);

    // A fixed-size dialog frame with only the close box, the given client size.
    void setDialogFrame(int clientWidth, int clientHeight);
    // No border and no title bar.
    void setBorderless(int clientWidth, int clientHeight);

    // Shows the window and brings it to the front.
    void showAndRaise();

protected:
    // The close handler (OnClose): runs, guarded, on every close request
    // before the window hides.
    virtual void FormClose() { }

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void centreOnScreen();
    bool positioned_ = false;
};

} // namespace platform
