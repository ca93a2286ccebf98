// The real viewer ventbox-help, driven through the help channel as the
// program drives it. Every test has a server name of its own (the viewer
// inherits it through VENTBOX_HELP_SERVER), and every viewer started under
// that name is killed when the test ends, also when it fails.

#include "platform/help/helpchannel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform::help;

namespace {

constexpr int startTimeoutMs = 20000;

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Whether the process runs (a zombie does not).
bool isRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size())
        return false;
    const char state = line.at(close + 2);
    return state != 'Z' && state != 'X';
}

// The processes (other than this one) whose environment names `server`.
QList<qint64> processesWithServer(const QString& server)
{
    const QByteArray needle = "VENTBOX_HELP_SERVER=" + server.toUtf8();
    QList<qint64> pids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok || pid == QCoreApplication::applicationPid())
            continue;
        QFile environ(QStringLiteral("/proc/%1/environ").arg(pid));
        if (!environ.open(QIODevice::ReadOnly))
            continue;
        if (environ.readAll().split('\0').contains(needle) && isRunning(pid))
            pids.append(pid);
    }
    return pids;
}

} // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstRequestStartsViewer();
    void laterRequestsReuseTheViewer();
    void looksInRequestersDirectoryFirst();
    void reportsFailuresInItsWindow_data();
    void reportsFailuresInItsWindow();
    void recoversFromStaleSocket();
    void secondStartHandsOverAndEnds();
    void simultaneousStartsLeaveOneViewer();

private:
    HelpRequest request(int command, quint32 data, const QString& file = "BAS.HLP") const;
    // Asks the viewer what it shows until `done` holds for its answer.
    std::optional<HelpReply> waitForViewer(const std::function<bool(const HelpReply&)>& done,
                                           int timeoutMs = startTimeoutMs);
    std::optional<HelpReply> exchange(const HelpRequest& request);
    void killViewer(qint64 pid);

    QString server_;
    QTemporaryDir work_; // a working directory without a help file
    QList<qint64> seen_; // viewers that answered
    int counter_ = 0;
};

void HelpViewerTest::initTestCase()
{
    QVERIFY(work_.isValid());
    // sendToViewer starts the viewer that lies beside the program.
    QCOMPARE(viewerExecutable(), QFileInfo(VENTBOX_HELP_VIEWER).absoluteFilePath());
}

void HelpViewerTest::init()
{
    server_ = QStringLiteral("ventbox-help-test-%1-%2")
                  .arg(QCoreApplication::applicationPid())
                  .arg(++counter_);
    qputenv("VENTBOX_HELP_SERVER", server_.toUtf8());
    QCOMPARE(serverName(), server_);
    QVERIFY(!exchangeWithViewer({ViewerMessage::Kind::State, {}}, 200));
    seen_.clear();
}

void HelpViewerTest::cleanup()
{
    QList<qint64> pids = processesWithServer(server_);
    for (qint64 pid : std::as_const(seen_)) {
        if (!pids.contains(pid))
            pids.append(pid);
    }
    for (qint64 pid : std::as_const(pids))
        killViewer(pid);
    QLocalServer::removeServer(server_);
}

HelpRequest HelpViewerTest::request(int command, quint32 data, const QString& file) const
{
    return HelpRequest{file, command, data, work_.path()};
}

std::optional<HelpReply>
HelpViewerTest::waitForViewer(const std::function<bool(const HelpReply&)>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    std::optional<HelpReply> last;
    while (!deadline.hasExpired()) {
        last = exchangeWithViewer({ViewerMessage::Kind::State, {}}, 1000);
        if (last) {
            if (!seen_.contains(last->pid))
                seen_.append(last->pid);
            if (done(*last))
                return last;
        }
        QTest::qWait(20);
    }
    return std::nullopt;
}

std::optional<HelpReply> HelpViewerTest::exchange(const HelpRequest& r)
{
    auto reply = exchangeWithViewer({ViewerMessage::Kind::Show, r}, 5000);
    if (reply && !seen_.contains(reply->pid))
        seen_.append(reply->pid);
    return reply;
}

void HelpViewerTest::killViewer(qint64 pid)
{
    if (pid <= 0 || !isRunning(pid))
        return;
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    QTRY_VERIFY_WITH_TIMEOUT(!isRunning(pid), 10000);
}

void HelpViewerTest::firstRequestStartsViewer()
{
    QVERIFY(sendToViewer(request(commandContext, 2)));
    const auto reply = waitForViewer([](const HelpReply& r) { return r.handled >= 1; });
    QVERIFY(reply);
    QVERIFY(reply->ok);
    QCOMPARE(reply->handled, 1);
    QCOMPARE(reply->shown, QStringLiteral("topic"));
    QCOMPARE(reply->context, 2u);
    QCOMPARE(reply->title, QStringLiteral("Doplňující údaje"));
    QCOMPARE(reply->windowTitle, QStringLiteral("Nápověda - Doplňující údaje"));
    QVERIFY(reply->text.contains(QStringLiteral("vnitřní objem boxu")));
    QVERIFY(reply->visible);
    // Not in the working directory: the copy beside the programs.
    QCOMPARE(reply->path, QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("BAS.HLP"));
    QVERIFY(reply->pid != QCoreApplication::applicationPid());
    QCOMPARE(processesWithServer(server_), QList<qint64>{reply->pid});
}

void HelpViewerTest::laterRequestsReuseTheViewer()
{
    QVERIFY(sendToViewer(request(commandContents, 4)));
    const auto first = waitForViewer([](const HelpReply& r) { return r.handled >= 1; });
    QVERIFY(first);
    QCOMPARE(first->shown, QStringLiteral("contents"));
    QCOMPARE(first->windowTitle,
             QStringLiteral("Nápověda - Program na návrh basreflexové ozvučnice"));

    // Through the socket, as the program sends it: no answer is awaited.
    QVERIFY(sendToViewer(request(commandContext, 4)));
    const auto second = waitForViewer([](const HelpReply& r) { return r.handled >= 2; });
    QVERIFY(second);
    QCOMPARE(second->pid, first->pid);
    QCOMPARE(second->handled, 2);
    QCOMPARE(second->shown, QStringLiteral("topic"));
    QCOMPARE(second->context, 4u);

    // And with the answer.
    const auto third = exchange(request(commandContext, 1));
    QVERIFY(third);
    QVERIFY(third->ok);
    QCOMPARE(third->pid, first->pid);
    QCOMPARE(third->handled, 3);
    QCOMPARE(third->title, QStringLiteral("Základní údaje"));
    QCOMPARE(processesWithServer(server_), QList<qint64>{first->pid});
}

void HelpViewerTest::looksInRequestersDirectoryFirst()
{
    QTemporaryDir own;
    QVERIFY(own.isValid());
    QVERIFY(writeFile(own.filePath("BAS.HLP"),
                      "=== obsah Vlastní obsah\n[[1]]\n=== 1 Vlastní téma\nText.\n"));
    HelpRequest withOwnFile = request(commandContext, 1);
    withOwnFile.workingDirectory = own.path();

    // On the viewer's command line...
    QVERIFY(sendToViewer(withOwnFile));
    const auto started = waitForViewer([](const HelpReply& r) { return r.handled >= 1; });
    QVERIFY(started);
    QCOMPARE(started->title, QStringLiteral("Vlastní téma"));
    QCOMPARE(started->path, QFileInfo(own.filePath("BAS.HLP")).absoluteFilePath());

    // ...and through the socket, where the next request's directory counts.
    const auto shipped = exchange(request(commandContext, 1));
    QVERIFY(shipped);
    QCOMPARE(shipped->title, QStringLiteral("Základní údaje"));
    const auto ownAgain = exchange(withOwnFile);
    QVERIFY(ownAgain);
    QCOMPARE(ownAgain->title, QStringLiteral("Vlastní téma"));
    QCOMPARE(ownAgain->pid, started->pid);
}

void HelpViewerTest::reportsFailuresInItsWindow_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("command");
    QTest::addColumn<quint32>("data");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << "CHYBI.HLP" << 3 << 0u << "„CHYBI.HLP“ nebyl nalezen";
    QTest::newRow("context without topic") << "BAS.HLP" << 1 << 99u << "není téma pro kontext 99";
    QTest::newRow("context 0") << "BAS.HLP" << 1 << 0u << "není téma pro kontext 0";
    QTest::newRow("unknown command") << "BAS.HLP" << 8 << 4u << "Neznámý příkaz nápovědy 8";
    QTest::newRow("name with a path") << "../BAS.HLP" << 3 << 0u << "jen podle jména";
    QTest::newRow("malformed file") << "VADNY.HLP" << 3 << 0u << "„VADNY.HLP“ je chybný, řádek 2";
    QTest::newRow("file without contents") << "BEZOBSAHU.HLP" << 3 << 0u << "nemá obsah";
    QTest::newRow("no file named") << "" << 3 << 0u << "Není zadán soubor nápovědy";
    if (::geteuid() != 0) // root reads every file
        QTest::newRow("unreadable file") << "ZAMCENY.HLP" << 3 << 0u << "nelze přečíst";
}

void HelpViewerTest::reportsFailuresInItsWindow()
{
    QFETCH(QString, file);
    QFETCH(int, command);
    QFETCH(quint32, data);
    QFETCH(QString, message);
    QVERIFY(writeFile(work_.filePath("VADNY.HLP"), "=== 1 A\n=== 1 B\n"));
    QVERIFY(writeFile(work_.filePath("BEZOBSAHU.HLP"), "=== 1 A\ntext\n"));
    QVERIFY(writeFile(work_.filePath("ZAMCENY.HLP"), "=== obsah A\n"));
    QVERIFY(QFile::setPermissions(work_.filePath("ZAMCENY.HLP"), QFileDevice::Permissions{}));

    // The first request starts the viewer, which reports the failure of the
    // request on its own command line.
    QVERIFY(sendToViewer(request(command, data, file)));
    const auto started = waitForViewer([](const HelpReply& r) { return r.handled >= 1; });
    QVERIFY(started);
    // Then the same through the socket, after a topic was shown.
    const auto good = exchange(request(commandContents, 0));
    QVERIFY(good);
    QVERIFY(good->ok);
    const auto again = exchange(request(command, data, file));
    QVERIFY(again);
    QCOMPARE(again->pid, started->pid);

    for (const HelpReply& reply : {*started, *again}) {
        QVERIFY(!reply.ok);
        QCOMPARE(reply.shown, QStringLiteral("error"));
        QVERIFY2(reply.error.contains(message), qPrintable(reply.error));
        QVERIFY2(reply.text.contains(message), qPrintable(reply.text)); // in the window
        QCOMPARE(reply.windowTitle, QStringLiteral("Nápověda - chyba"));
        QVERIFY(reply.visible);
    }

    // The viewer goes on serving.
    const auto after = exchange(request(commandContext, 3));
    QVERIFY(after);
    QVERIFY(after->ok);
    QCOMPARE(after->title, QStringLiteral("Výpočet"));
    QVERIFY(after->error.isEmpty());
}

void HelpViewerTest::recoversFromStaleSocket()
{
    QVERIFY(sendToViewer(request(commandContents, 0)));
    const auto first = waitForViewer([](const HelpReply& r) { return r.handled >= 1; });
    QVERIFY(first);
    killViewer(first->pid);
    QVERIFY(!isRunning(first->pid));

    // The killed viewer's socket is still there, and nobody answers on it.
    struct stat info { };
    const QByteArray socketPath = QDir::temp().filePath(server_).toLocal8Bit();
    QCOMPARE(::stat(socketPath.constData(), &info), 0);
    QVERIFY(S_ISSOCK(info.st_mode));
    QVERIFY(!exchangeWithViewer({ViewerMessage::Kind::State, {}}, 500));

    QVERIFY(sendToViewer(request(commandContext, 3)));
    const auto second = waitForViewer([](const HelpReply& r) { return r.handled >= 1; });
    QVERIFY(second);
    QVERIFY(second->pid != first->pid);
    QVERIFY(second->ok);
    QCOMPARE(second->context, 3u);

    // It listens for good: the next request reaches it.
    const auto third = exchange(request(commandContext, 4));
    QVERIFY(third);
    QCOMPARE(third->pid, second->pid);
    QCOMPARE(third->context, 4u);
}

void HelpViewerTest::secondStartHandsOverAndEnds()
{
    QVERIFY(sendToViewer(request(commandContents, 0)));
    const auto first = waitForViewer([](const HelpReply& r) { return r.handled >= 1; });
    QVERIFY(first);

    // The viewer started by hand while one runs: it passes its request on,
    // prints the running viewer's answer and ends.
    QProcess second;
    second.setProgram(VENTBOX_HELP_VIEWER);
    second.setArguments(requestToArguments(request(commandContext, 4)));
    second.start();
    QVERIFY(second.waitForFinished(startTimeoutMs));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    const auto handedOver = decodeReply(second.readAllStandardOutput());
    QVERIFY(handedOver);
    QCOMPARE(handedOver->pid, first->pid);
    QCOMPARE(handedOver->context, 4u);

    const auto now = waitForViewer([](const HelpReply& r) { return r.handled >= 2; });
    QVERIFY(now);
    QCOMPARE(now->pid, first->pid);
    QCOMPARE(now->title, QStringLiteral("Výpočet plochy nátrubku"));
    QCOMPARE(processesWithServer(server_), QList<qint64>{first->pid});
}

void HelpViewerTest::simultaneousStartsLeaveOneViewer()
{
    // Several starts before any viewer listens (help asked for quickly
    // twice): one viewer remains and has shown every request.
    const QString viewer = viewerExecutable();
    QList<qint64> started;
    for (quint32 context : {1u, 2u, 3u}) {
        qint64 pid = 0;
        QVERIFY(startViewer(request(commandContext, context), viewer, &pid));
        started.append(pid);
        seen_.append(pid);
    }
    const auto reply = waitForViewer([&](const HelpReply& r) {
        return r.handled == 3 && processesWithServer(server_).size() == 1;
    });
    QVERIFY(reply);
    QVERIFY(started.contains(reply->pid));
    QVERIFY(reply->ok);
}

QTEST_GUILESS_MAIN(HelpViewerTest)
#include "helpviewer_test.moc"
