#include "startup.h"

#include "forms/unit1.h"
#include "forms/unit2.h"
#include "forms/unit3.h"
#include "forms/unit4.h"

#include "platform/application.h"

#include <QApplication>
#include <QIcon>

void startUp()
{
    platform::Application::setTitle(QStringLiteral("Program na návrh  basreflexové ozvučnice"));
    platform::Application::setHelpFile(QStringLiteral("BAS.HLP"));

    new TForm4;
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/ventbox.ico")));
    new TForm1;
    new TForm2;
    new TForm3;
}
