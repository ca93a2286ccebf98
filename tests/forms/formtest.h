#pragma once
// What the window tests share: the program's style and fonts, and hooks
// that record beeps, message boxes and help requests instead of making them.

#include "platform/application.h"
#include "platform/fonts.h"

#include <QApplication>
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
