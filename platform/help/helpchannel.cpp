#include "platform/help/helpchannel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>

#include <limits>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace platform::help {

namespace {

QString viewerName()
{
    return QStringLiteral("ventbox-help");
}

QByteArray toLine(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<QJsonObject> fromLine(const QByteArray& line)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line.trimmed(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

// A whole number in [min, max] held by a JSON value.
std::optional<qint64> integerIn(const QJsonValue& value, qint64 min, qint64 max)
{
    if (!value.isDouble())
        return std::nullopt;
    const double d = value.toDouble(); // locale-ok: a JSON number, no text
    if (!(d >= static_cast<double>(min) && d <= static_cast<double>(max)))
        return std::nullopt;
    const auto n = static_cast<qint64>(d);
    if (static_cast<double>(n) != d)
        return std::nullopt;
    return n;
}

bool waitForLine(QLocalSocket& socket, QDeadlineTimer deadline)
{
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || socket.state() != QLocalSocket::ConnectedState)
            return false;
        socket.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
    }
    return true;
}

bool writeAll(QLocalSocket& socket, const QByteArray& bytes, QDeadlineTimer deadline)
{
    if (socket.write(bytes) != bytes.size())
        return false;
    while (socket.bytesToWrite() > 0) {
        if (deadline.hasExpired())
            return false;
        if (!socket.waitForBytesWritten(
                static_cast<int>(qMax<qint64>(1, deadline.remainingTime()))))
            return false;
    }
    return true;
}

} // namespace

QByteArray encodeMessage(const ViewerMessage& message)
{
    QJsonObject object;
    if (message.kind == ViewerMessage::Kind::State) {
        object.insert(QStringLiteral("type"), QStringLiteral("state"));
        return toLine(object);
    }
    const HelpRequest& r = message.request;
    object.insert(QStringLiteral("type"), QStringLiteral("show"));
    object.insert(QStringLiteral("file"), r.file);
    object.insert(QStringLiteral("command"), r.command);
    object.insert(QStringLiteral("data"), static_cast<qint64>(r.data));
    object.insert(QStringLiteral("dir"), r.workingDirectory);
    return toLine(object);
}

std::optional<ViewerMessage> decodeMessage(const QByteArray& line)
{
    const auto object = fromLine(line);
    if (!object)
        return std::nullopt;
    const QString type = object->value(QStringLiteral("type")).toString();
    ViewerMessage message;
    if (type == QLatin1String("state")) {
        message.kind = ViewerMessage::Kind::State;
        return message;
    }
    if (type != QLatin1String("show"))
        return std::nullopt;
    const QJsonValue file = object->value(QStringLiteral("file"));
    const auto command =
        integerIn(object->value(QStringLiteral("command")), std::numeric_limits<int>::min(),
                  std::numeric_limits<int>::max());
    const QJsonValue dataValue = object->value(QStringLiteral("data"));
    const auto data =
        dataValue.isUndefined() ? std::optional<qint64>(0) : integerIn(dataValue, 0, 0xFFFFFFFFll);
    const QJsonValue dir = object->value(QStringLiteral("dir"));
    if (!file.isString() || !command || !data || !(dir.isUndefined() || dir.isString()))
        return std::nullopt;
    message.kind = ViewerMessage::Kind::Show;
    message.request.file = file.toString();
    message.request.command = static_cast<int>(*command);
    message.request.data = static_cast<quint32>(*data);
    message.request.workingDirectory = dir.toString();
    return message;
}

QByteArray encodeReply(const HelpReply& reply)
{
    QJsonObject object;
    object.insert(QStringLiteral("ok"), reply.ok);
    object.insert(QStringLiteral("pid"), reply.pid);
    object.insert(QStringLiteral("shown"), reply.shown);
    object.insert(QStringLiteral("context"), static_cast<qint64>(reply.context));
    object.insert(QStringLiteral("title"), reply.title);
    object.insert(QStringLiteral("windowTitle"), reply.windowTitle);
    object.insert(QStringLiteral("path"), reply.path);
    object.insert(QStringLiteral("error"), reply.error);
    object.insert(QStringLiteral("text"), reply.text);
    object.insert(QStringLiteral("visible"), reply.visible);
    object.insert(QStringLiteral("handled"), reply.handled);
    return toLine(object);
}

std::optional<HelpReply> decodeReply(const QByteArray& line)
{
    const auto object = fromLine(line);
    if (!object)
        return std::nullopt;
    const auto pid =
        integerIn(object->value(QStringLiteral("pid")), 0, std::numeric_limits<qint32>::max());
    const auto context = integerIn(object->value(QStringLiteral("context")), 0, 0xFFFFFFFFll);
    const auto handled =
        integerIn(object->value(QStringLiteral("handled")), 0, std::numeric_limits<int>::max());
    if (!object->value(QStringLiteral("ok")).isBool() || !pid || !context || !handled)
        return std::nullopt;
    HelpReply reply;
    reply.ok = object->value(QStringLiteral("ok")).toBool();
    reply.pid = *pid;
    reply.shown = object->value(QStringLiteral("shown")).toString();
    reply.context = static_cast<quint32>(*context);
    reply.title = object->value(QStringLiteral("title")).toString();
    reply.windowTitle = object->value(QStringLiteral("windowTitle")).toString();
    reply.path = object->value(QStringLiteral("path")).toString();
    reply.error = object->value(QStringLiteral("error")).toString();
    reply.text = object->value(QStringLiteral("text")).toString();
    reply.visible = object->value(QStringLiteral("visible")).toBool();
    reply.handled = static_cast<int>(*handled);
    return reply;
}

QStringList requestToArguments(const HelpRequest& request)
{
    QStringList arguments;
    if (!request.workingDirectory.isEmpty())
        arguments << QStringLiteral("--dir") << request.workingDirectory;
    arguments << QStringLiteral("--") << request.file << QString::number(request.command)
              << QString::number(request.data);
    return arguments;
}

std::optional<HelpRequest> requestFromArguments(const QStringList& arguments,
                                                const QString& currentDirectory, QString* error)
{
    HelpRequest request;
    request.workingDirectory = currentDirectory;
    QStringList positional;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (optionsEnded || argument.size() < 2 || !argument.startsWith(u'-')) {
            positional << argument;
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--dir")) {
            if (i + 1 >= arguments.size()) {
                *error = QStringLiteral("za --dir chybí adresář");
                return std::nullopt;
            }
            request.workingDirectory = arguments.at(++i);
        } else if (argument.startsWith(QLatin1String("--dir="))) {
            request.workingDirectory = argument.mid(6);
        } else {
            *error = QStringLiteral("neznámý přepínač „%1“").arg(argument);
            return std::nullopt;
        }
    }
    if (positional.size() > 3) {
        *error = QStringLiteral("příliš mnoho argumentů (soubor, příkaz, data)");
        return std::nullopt;
    }
    if (!positional.isEmpty())
        request.file = positional.at(0);
    if (positional.size() >= 2) {
        bool ok = false;
        request.command = positional.at(1).toInt(&ok, 10);
        if (!ok) {
            *error = QStringLiteral("příkaz „%1“ není celé číslo").arg(positional.at(1));
            return std::nullopt;
        }
    }
    if (positional.size() >= 3) {
        bool ok = false;
        request.data = positional.at(2).toUInt(&ok, 10);
        if (!ok) {
            *error =
                QStringLiteral("data „%1“ nejsou číslo od 0 do 4294967295").arg(positional.at(2));
            return std::nullopt;
        }
    }
    return request;
}

QString serverName()
{
    QString fromEnvironment = qEnvironmentVariable("VENTBOX_HELP_SERVER");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
#ifdef Q_OS_UNIX
    return viewerName() + u'-' + QString::number(::getuid());
#else
    return viewerName() + u'-' + qEnvironmentVariable("USERNAME");
#endif
}

QString viewerExecutable()
{
    const QFileInfo beside(QDir(QCoreApplication::applicationDirPath()), viewerName());
    if (beside.isFile() && beside.isExecutable())
        return beside.absoluteFilePath();
    return QStandardPaths::findExecutable(viewerName());
}

bool forwardToViewer(const HelpRequest& request, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    const bool written =
        writeAll(socket, encodeMessage({ViewerMessage::Kind::Show, request}), deadline);
    socket.disconnectFromServer();
    return written;
}

bool startViewer(const HelpRequest& request, const QString& executable, qint64* pid)
{
    if (executable.isEmpty())
        return false;
    QProcess process;
    process.setProgram(executable);
    process.setArguments(requestToArguments(request));
    // The viewer outlives the program: it must not hold the program's
    // terminal or pipes.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached(pid);
}

bool sendToViewer(const HelpRequest& request)
{
    HelpRequest complete = request;
    complete.workingDirectory =
        QDir(complete.workingDirectory.isEmpty() ? QDir::currentPath() : complete.workingDirectory)
            .absolutePath();
    // A local connection either succeeds or is refused at once; the timeout
    // only bounds a viewer that hangs.
    if (forwardToViewer(complete, 500))
        return true;
    return startViewer(complete, viewerExecutable());
}

std::optional<HelpReply> exchangeWithViewer(const ViewerMessage& message, int timeoutMs,
                                            const QString& server)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(server);
    if (!socket.waitForConnected(timeoutMs))
        return std::nullopt;
    if (!writeAll(socket, encodeMessage(message), deadline) || !waitForLine(socket, deadline))
        return std::nullopt;
    return decodeReply(socket.readLine());
}

} // namespace platform::help
