// ventbox-help FILE [COMMAND [DATA]]: shows a topic of a help file, found
// from the current directory on. Command 1 shows the topic of help context
// DATA, command 3 (the default) the contents. One viewer runs per user: a
// second start hands its request to the running one and ends.

#include "platform/help/viewer.h"
#include "platform/translation.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>

#include <cstdio>

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
    const QString server = HelpViewer::serverName();

    // Two viewers starting at once must not both listen, nor one remove the
    // other's socket: the check and the listen happen under a lock (the lock
    // of a killed viewer is taken over).
    const QString lockPath = server.contains(u'/')
                                 ? server + QStringLiteral(".lock")
                                 : QDir::temp().filePath(server + QStringLiteral(".lock"));
    QLockFile lock(lockPath);
    // Without the lock or the server this viewer still shows its topic; it
    // only cannot take later requests, which then start viewers of their own.
    const bool locked = lock.tryLock(5000);
    if (!locked)
        std::fprintf(stderr, "ventbox-help: cannot lock %s (%d): requests are not shared\n",
                     qPrintable(QDir::toNativeSeparators(lockPath)),
                     static_cast<int>(lock.error()));
    if (HelpViewer::forward(server, request))
        return 0;
    if (locked)
        QLocalServer::removeServer(server); // nobody answers: a killed viewer's socket
    HelpViewer viewer;
    if (!viewer.listen(server))
        std::fprintf(stderr, "ventbox-help: cannot listen as %s: %s\n", qPrintable(server),
                     qPrintable(viewer.listenError()));
    if (locked)
        lock.unlock();
    viewer.request(request);
    return QApplication::exec();
}
