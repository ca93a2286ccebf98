#pragma once
// The splash window: shown first, for three seconds, then it gives way to
// the main window. As the first window created it is the application's
// main window, so closing it (the main window's close handler does) ends
// the program.

#include "platform/tform.h"

#include "ui_Unit4.h"

#include <QTimer>

class TForm4 : public platform::TForm, public Ui::TForm4 {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    // Fires once, 3000 ms after the window was created.
    QTimer* Timer1 = nullptr;

    void Timer1Timer();
};

extern TForm4* Form4;
