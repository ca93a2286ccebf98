// ventbox-help: shows topics of a help file. One viewer runs per user (per
// server name); a second start hands its request to the first and ends.

#include "helpviewer.h"

#include "platform/help/helpchannel.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <cstdio>

using namespace platform::help;

namespace {

void printReply(const HelpReply& reply)
{
    const QByteArray line = encodeReply(reply);
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
}

QString lockPath(const QString& server)
{
    return server.contains(u'/') ? server + QStringLiteral(".lock")
                                 : QDir::temp().filePath(server + QStringLiteral(".lock"));
}

enum class Probe { Handed, NoViewer, StaleSocket };

// Hands the request to a viewer that already listens under `server`.
Probe handToRunningViewer(const QString& server, const std::optional<HelpRequest>& request)
{
    QLocalSocket socket;
    socket.connectToServer(server);
    if (!socket.waitForConnected(2000))
        return socket.error() == QLocalSocket::ConnectionRefusedError ? Probe::StaleSocket
                                                                      : Probe::NoViewer;
    if (!request)
        return Probe::Handed;
    socket.write(encodeMessage({ViewerMessage::Kind::Show, *request}));
    const QDeadlineTimer deadline(5000);
    while (!socket.canReadLine() && !deadline.hasExpired()
           && socket.state() == QLocalSocket::ConnectedState)
        socket.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
    if (socket.canReadLine()) {
        if (const auto reply = decodeReply(socket.readLine()))
            printReply(*reply);
    }
    return Probe::Handed;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ventbox-help"));

    QString argumentError;
    const std::optional<HelpRequest> request =
        requestFromArguments(QApplication::arguments().mid(1), QDir::currentPath(), &argumentError);

    const QString server = serverName();
    // Two viewers starting at once must not both take the name (or one
    // remove the other's socket): the check and the listen happen under a
    // lock. A lock left by a killed viewer is taken over.
    QLockFile lock(lockPath(server));
    lock.tryLock(5000);

    switch (handToRunningViewer(server, request)) {
    case Probe::Handed:
        if (!request) {
            std::fprintf(stderr, "ventbox-help: %s\n", qUtf8Printable(argumentError));
            return 2;
        }
        return 0;
    case Probe::StaleSocket:
        // The socket of a viewer that died without closing it.
        QLocalServer::removeServer(server);
        break;
    case Probe::NoViewer: break;
    }

    HelpViewer viewer;
    QString listenError;
    if (!viewer.listen(server, &listenError)) {
        // Only when the lock could not be had: another viewer may have
        // taken the name in between.
        if (handToRunningViewer(server, request) == Probe::Handed)
            return request ? 0 : 2;
        std::fprintf(stderr, "ventbox-help: cannot listen on %s: %s\n", qUtf8Printable(server),
                     qUtf8Printable(listenError));
    }
    if (lock.isLocked())
        lock.unlock();

    printReply(request ? viewer.handle(*request)
                       : viewer.handleFailure(
                           QStringLiteral("Chybný příkazový řádek: %1.").arg(argumentError)));
    return QApplication::exec();
}
