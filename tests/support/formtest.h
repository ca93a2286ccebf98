#pragma once
// What the window tests share: the program's style and fonts, hooks that
// record beeps, message boxes and help requests instead of making them, a
// test function's windows, and the main window's input fields.

#include "forms/unit1.h"
#include "platform/application.h"

#include <QList>
#include <QVector>

// A help request as the topic that the viewer shows: "obsah" for the
// contents, else the number of the help context.
struct HelpCall {
    QString file;
    QString topic;
    bool operator==(const HelpCall&) const = default;
};

class Recorder {
public:
    Recorder();
    void clear()
    {
        beeps = 0;
        boxes.clear();
        help.clear();
    }

    int beeps = 0;
    QVector<platform::MessageBoxRequest> boxes;
    QVector<HelpCall> help;
};

// One test function's windows, made as start-up makes them: the splash
// window first (so it is the application's main window), then the main
// window, the port area window and the report form, all hidden. Form1 to
// Form4 point at them until they are deleted with the fixture.
class Windows {
public:
    Windows();
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;
};

// The main window's seven input fields in the order of a design's texts:
// Fs, Qts, Vas, Rdc, Re, S, Vb.
QList<TEdit*> inputFields(const TForm1& form);
