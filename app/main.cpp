// The program's entry: title, help file, the four windows in their order,
// then the event loop, which shows the splash window first.

#include "forms/unit1.h"
#include "forms/unit2.h"
#include "forms/unit4.h"

#include "platform/application.h"
#include "platform/fonts.h"

#include <QStyleFactory>

int main(int argc, char** argv)
{
    platform::TApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    platform::installFontSubstitutes();

    platform::Application::setTitle(QStringLiteral("Program na návrh  basreflexové ozvučnice"));
    platform::Application::setHelpFile(QStringLiteral("BAS.HLP"));

    new TForm4; // the first window: the application's main window
    new TForm1;
    new TForm2;

    return platform::Application::run();
}
