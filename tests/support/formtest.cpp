#include "formtest.h"

#include "startup.h"

#include "forms/unit2.h"
#include "forms/unit3.h"
#include "forms/unit4.h"
#include "platform/fonts.h"
#include "platform/translation.h"

#include <QApplication>
#include <QStyleFactory>

Recorder::Recorder()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    platform::installFontSubstitutes();
    platform::installQtTranslation();
    platform::Application::setTitle(QStringLiteral("Program na návrh  basreflexové ozvučnice"));
    platform::Application::setHelpFile(QStringLiteral("BAS.HLP"));
    platform::setBeepHook([this](unsigned) { ++beeps; });
    platform::Application::setMessageBoxHook(
        [this](const platform::MessageBoxRequest& r) { boxes.push_back(r); });
    // The viewer ignores the contents command's data; any other command
    // shows an error page.
    platform::Application::setHelpHook([this](const QString& file, int command, quint32 data) {
        QString topic = QStringLiteral("chyba");
        if (command == platform::helpCommandContents)
            topic = QStringLiteral("obsah");
        else if (command == platform::helpCommandContext)
            topic = QString::number(data);
        help.push_back({file, topic});
    });
}

Windows::Windows()
{
    platform::Application::reset();
    startUp();
}

Windows::~Windows()
{
    delete Form3;
    delete Form2;
    delete Form1;
    delete Form4;
}

QList<TEdit*> inputFields(const TForm1& form)
{
    return {form.Edit1, form.Edit2, form.Edit3, form.Edit4, form.Edit5, form.Edit10, form.Edit6};
}
