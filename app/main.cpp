// The program's entry: the application object, its style and fonts, the
// windows (startup.cpp), then the event loop, which shows the splash
// window first and ends when it is closed.

#include "startup.h"

#include "platform/application.h"
#include "platform/fonts.h"
#include "platform/trace.h"
#include "platform/translation.h"

#include <QStyleFactory>

#include <exception>

int main(int argc, char** argv)
{
    platform::TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ventbox")); // WM_CLASS, as in ventbox.desktop
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    // The designed colours, not the desktop theme's, for everything the
    // program shows: its windows and boxes, the fields' menus, the progress
    // window of printing.
    QApplication::setPalette(platform::designedPalette());
    platform::installQtTranslation();
    platform::installFontSubstitutes();
    platform::installTraceFromEnvironment();

    try {
        startUp();
    } catch (const std::exception& e) {
        // Start-up failed before any window was shown: report it and end.
        platform::Application::showError(QString::fromUtf8(e.what()));
        return 1;
    }
    return platform::Application::run();
}
