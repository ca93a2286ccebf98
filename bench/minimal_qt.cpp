// The yardstick for the program's start-up: about the least a Qt Widgets
// program does before its first window is painted (an application object
// and one label). Built with the program's flags; traced by the program's
// own trace (platform/trace.h): "shown minimal <ns>", "painted minimal <ns>".

#include "platform/trace.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    platform::installTraceFromEnvironment();
    QLabel label(QStringLiteral("Hello"));
    label.setObjectName(QStringLiteral("minimal"));
    label.show();
    return QApplication::exec();
}
