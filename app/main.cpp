// The program's entry: title, help file, the four windows in their order,
// then the event loop, which shows the splash window first.

#include "forms/unit1.h"
#include "forms/unit2.h"
#include "forms/unit3.h"
#include "forms/unit4.h"

#include "platform/application.h"
#include "platform/fonts.h"
#include "platform/trace.h"

#include <QIcon>
#include <QMessageBox>
#include <QStyleFactory>

#include <exception>

int main(int argc, char** argv)
{
    platform::TApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    platform::installFontSubstitutes();
    platform::installTraceFromEnvironment();

    try {
        platform::Application::setTitle(QStringLiteral("Program na návrh  basreflexové ozvučnice"));
        platform::Application::setHelpFile(QStringLiteral("BAS.HLP"));

        // Form4 first: the first window created is the application's main
        // window, and its timer starts counting now.
        new TForm4;
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/ventbox.ico")));
        new TForm1;
        new TForm2;
        new TForm3;
    } catch (const std::exception& e) {
        // Start-up failed before any window was shown: report and end.
        QMessageBox::critical(nullptr, platform::Application::title(),
                              QString::fromUtf8(e.what()) + QLatin1Char('.'));
        return 1;
    }
    return platform::Application::run();
}
