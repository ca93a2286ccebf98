#pragma once
// What the window tests share: the program's style and fonts, hooks that
// record beeps, message boxes and help requests instead of making them, and
// the main window's input fields.

#include "forms/unit1.h"
#include "platform/application.h"

#include <QList>
#include <QVector>

#include <utility>

struct HelpCall {
    QString file;
    int command;
    quint32 data;
    bool operator==(const HelpCall&) const = default;
};

class Recorder {
public:
    Recorder();
    void clear()
    {
        beeps.clear();
        boxes.clear();
        help.clear();
    }

    QVector<unsigned> beeps;
    QVector<platform::MessageBoxRequest> boxes;
    QVector<HelpCall> help;
};

// The main window's seven input fields in the order of a design's texts:
// Fs, Qts, Vas, Rdc, Re, S, Vb.
QList<TEdit*> inputFields(const TForm1& form);
