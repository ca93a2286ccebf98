// ventbox-help FILE [COMMAND [DATA]]: shows a topic of a help file, found
// from the current directory on. Command 1 shows the topic of help context
// DATA, command 3 (the default) the contents. One viewer runs per user: a
// second start hands its request to the running one and ends.

#include "platform/help/viewer.h"
#include "platform/translation.h"

#include <QApplication>
#include <QDir>

using platform::help::HelpViewer;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    platform::installQtTranslation();
    // Topics take their link colour from the application's palette.
    if (const QPalette readable = platform::help::readableLinks(QApplication::palette());
        readable != QApplication::palette())
        QApplication::setPalette(readable);
    const QStringList arguments = QApplication::arguments();
    const platform::help::HelpRequest request{QDir::currentPath(), arguments.value(1),
                                              arguments.value(2, QStringLiteral("3")),
                                              arguments.value(3, QStringLiteral("0"))};
    const auto viewer = HelpViewer::start(request, HelpViewer::serverName());
    return viewer ? QApplication::exec() : 0;
}
