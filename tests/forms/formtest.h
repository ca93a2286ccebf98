#pragma once
// What the window tests share: the program's style and fonts, hooks that
// record beeps, message boxes and help requests instead of making them, and
// the main window's input fields.

#include "forms/unit1.h"
#include "platform/application.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QList>
#include <QStyleFactory>
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
    Recorder()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
        platform::installFontSubstitutes();
        platform::Application::setTitle(QStringLiteral("Program na návrh  basreflexové ozvučnice"));
        platform::Application::setHelpFile(QStringLiteral("BAS.HLP"));
        platform::setBeepHook([this](unsigned type) { beeps.push_back(type); });
        platform::Application::setMessageBoxHook(
            [this](const platform::MessageBoxRequest& r) { boxes.push_back(r); });
        platform::Application::setHelpHook([this](const QString& file, int command, quint32 data) {
            help.push_back({file, command, data});
        });
    }
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
inline QList<TEdit*> inputFields(const TForm1& form)
{
    return {form.Edit1, form.Edit2, form.Edit3, form.Edit4, form.Edit5, form.Edit10, form.Edit6};
}
