#include "formtest.h"

#include "platform/fonts.h"

#include <QApplication>
#include <QStyleFactory>

Recorder::Recorder()
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

QList<TEdit*> inputFields(const TForm1& form)
{
    return {form.Edit1, form.Edit2, form.Edit3, form.Edit4, form.Edit5, form.Edit10, form.Edit6};
}
