// The help viewer: its window in process (the shipped help file, links and
// Back, failures, where the file is found, links readable on any page
// colour) and the program ventbox-help (a second start hands over, a killed
// viewer's socket, starts at once).

#include "platform/help/viewer.h"

#include <QLocalSocket>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <vector>

using platform::help::HelpRequest;
using platform::help::HelpViewer;

namespace {

const QString resources = QStringLiteral(VENTBOX_SOURCE_DIR "/resources");

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray helpFile(const QByteArray& title)
{
    return "Úvod, který se nezobrazuje.\n<!-- topic obsah -->\n## " + title
        + "\n\n[Téma](1)\n\n<!-- topic 1 -->\n## " + title + " 1\n\nText.\n";
}

// The targets of the links on the page shown.
QStringList links(const QTextBrowser* browser)
{
    QStringList targets;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isAnchor())
                targets << it.fragment().charFormat().anchorHref();
        }
    }
    return targets;
}

QPushButton* button(const HelpViewer& viewer, const QString& text)
{
    for (QPushButton* b : viewer.findChildren<QPushButton*>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

bool answers(const QString& server)
{
    QLocalSocket socket;
    socket.connectToServer(server);
    return socket.waitForConnected(1000);
}

} // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsTheShippedTopics_data();
    void showsTheShippedTopics();
    void linksLeadToTopicsAndBack();
    void anotherFileStartsANewHistory();
    void windowsLineEndsShowTheTopics();
    void reportsFailuresInItsWindow_data();
    void reportsFailuresInItsWindow();
    void looksInRequestersDirectoryFirst_data();
    void looksInRequestersDirectoryFirst();
    void contrastOfKnownColours_data();
    void contrastOfKnownColours();
    void linksStayReadable_data();
    void linksStayReadable();

    void secondStartHandsOverAndEnds_data();
    void secondStartHandsOverAndEnds();
    void recoversFromStaleSocket();
    void showsWithoutLockOrServer();
    void simultaneousStartsLeaveOneViewer();

private:
    QProcess* startViewer(const QStringList& arguments, const QString& directory = QString());

    QTemporaryDir work_; // a working directory without BAS.HLP
    QString server_;
    std::vector<std::unique_ptr<QProcess>> started_;
};

void HelpViewerTest::init()
{
    static int counter = 0;
    server_ = QStringLiteral("ventbox-help-test-%1-%2")
                  .arg(QCoreApplication::applicationPid())
                  .arg(++counter);
    qputenv("VENTBOX_HELP_SERVER", server_.toUtf8()); // for the viewers started
    QVERIFY(work_.isValid());
}

void HelpViewerTest::cleanup()
{
    for (const auto& process : started_) {
        process->kill();
        process->waitForFinished();
    }
    started_.clear();
    QLocalServer::removeServer(server_);
}

QProcess* HelpViewerTest::startViewer(const QStringList& arguments, const QString& directory)
{
    auto& process = started_.emplace_back(std::make_unique<QProcess>());
    process->setWorkingDirectory(directory.isEmpty() ? work_.path() : directory);
    process->start(QStringLiteral(VENTBOX_HELP_VIEWER), arguments);
    return process.get();
}

void HelpViewerTest::showsTheShippedTopics_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("data");      // the contents command has none that counts
    QTest::addColumn<QStringList>("words"); // the title first
    // clang-format off
    QTest::newRow("contents") << "3" << "" << QStringList{"Program na návrh basreflexové ozvučnice", "Témata nápovědy", "F1"};
    QTest::newRow("1")        << "1" << "1" << QStringList{"Základní údaje", "Fs", "Qts", "Vas", "Rdc", "Re", "Hz", "litrech", "tečku"};
    QTest::newRow("2")        << "1" << "2" << QStringList{"Doplňující údaje", "cm²", "Vb", "litrech", "Výpočet plochy nátrubku"};
    QTest::newRow("3")        << "1" << "3" << QStringList{"Výpočet", "Qtc", "Fb", "k = 0.75", "k = 0.6", "1176490", "Tisk"};
    QTest::newRow("4")        << "1" << "4" << QStringList{"Výpočet plochy nátrubku", "Kruh", "Obdélník", "Čtverec", "Trojúhelník", "999", "Vložit"};
    // clang-format on
}

void HelpViewerTest::showsTheShippedTopics()
{
    QFETCH(QString, command);
    QFETCH(QString, data);
    QFETCH(QStringList, words);
    HelpViewer viewer;
    viewer.request({resources, "BAS.HLP", command, data});
    QCOMPARE(viewer.windowTitle(), "Nápověda - " + words.first());
    QVERIFY(viewer.isVisible());
    const QString text = viewer.browser()->toPlainText();
    QVERIFY2(text.startsWith(words.first() + "\n"), qPrintable(text));
    for (const QString& word : words)
        QVERIFY2(text.contains(word), qPrintable(word));
}

void HelpViewerTest::linksLeadToTopicsAndBack()
{
    HelpViewer viewer;
    QTextBrowser* browser = viewer.browser();
    viewer.request({resources, "BAS.HLP", "3", "0"});
    const QString contents = viewer.windowTitle();
    for (const QString topic : {"1", "2", "3", "4"})
        QVERIFY2(links(browser).contains(topic), qPrintable(topic));
    QVERIFY(!button(viewer, "&Zpět")->isEnabled());

    // Every link of every topic leads to a topic of the file.
    for (const QString topic : {"obsah", "1", "2", "3", "4"}) {
        browser->setSource(QUrl(topic));
        for (const QString& link : links(browser)) {
            browser->setSource(QUrl(topic));
            browser->setSource(QUrl(link));
            QVERIFY2(!viewer.windowTitle().endsWith("chyba"), qPrintable(topic + " " + link));
        }
    }

    viewer.request({resources, "BAS.HLP", "3", "0"});
    browser->setSource(QUrl("2")); // as a click on the link does
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Nápověda - Doplňující údaje"));
    QVERIFY(button(viewer, "&Zpět")->isEnabled());
    button(viewer, "&Zpět")->click();
    QCOMPARE(viewer.windowTitle(), contents);
    viewer.request({resources, "BAS.HLP", "1", "4"});
    button(viewer, "&Obsah")->click();
    QCOMPARE(viewer.windowTitle(), contents);
}

void HelpViewerTest::anotherFileStartsANewHistory()
{
    QVERIFY(writeFile(work_.filePath("A.HLP"), helpFile("A")));
    QVERIFY(writeFile(work_.filePath("B.HLP"), helpFile("B")));
    HelpViewer viewer;
    QPushButton* back = button(viewer, "&Zpět");
    viewer.request({work_.path(), "A.HLP", "3", "0"});
    viewer.browser()->setSource(QUrl("1")); // a link
    viewer.request({work_.path(), "B.HLP", "3", "0"});
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Nápověda - B"));
    QVERIFY(!back->isEnabled());
    // Within the file, Back goes on working.
    viewer.browser()->setSource(QUrl("1"));
    back->click();
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Nápověda - B"));
    QVERIFY(!back->isEnabled());
}

// A help file saved by a Windows editor.
void HelpViewerTest::windowsLineEndsShowTheTopics()
{
    QVERIFY(writeFile(work_.filePath("CRLF.HLP"), helpFile("Okna").replace("\n", "\r\n")));
    HelpViewer viewer;
    viewer.request({work_.path(), "CRLF.HLP", "3", "0"});
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Nápověda - Okna"));
    viewer.request({work_.path(), "CRLF.HLP", "1", "1"});
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Nápověda - Okna 1"));
}

void HelpViewerTest::reportsFailuresInItsWindow_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("contentsLink"); // on a new viewer: the file has contents
    const QString missing = "Soubor nápovědy „CHYBI.HLP“ nebyl nalezen. Hledán v adresářích: "
        + QDir::cleanPath(work_.path());
    // clang-format off
    QTest::newRow("missing file")           << "CHYBI.HLP"     << "3" << "0"  << missing << false;
    QTest::newRow("context without topic")  << "BAS.HLP"       << "1" << "99" << "V souboru nápovědy „BAS.HLP“ není téma pro kontext 99." << true;
    QTest::newRow("context 0")              << "BAS.HLP"       << "1" << "0"  << "není téma pro kontext 0." << true;
    QTest::newRow("unknown command")        << "BAS.HLP"       << "8" << "4"  << "Neznámý příkaz nápovědy 8. Nápověda umí příkaz 1 (téma podle čísla kontextu) a příkaz 3 (obsah)." << false;
    QTest::newRow("name with a path")       << "../BAS.HLP"    << "3" << "0"  << "Soubor nápovědy „../BAS.HLP“ se hledá jen podle jména, bez cesty." << false;
    QTest::newRow("file without contents")  << "BEZOBSAHU.HLP" << "3" << "0"  << "Soubor nápovědy „BEZOBSAHU.HLP“ nemá obsah." << false;
    QTest::newRow("no file named")          << ""              << "3" << "0"  << "Není zadán soubor nápovědy." << false;
    QTest::newRow("unreadable file")        << "ZAMCENY.HLP"   << "3" << "0"  << "Soubor nápovědy „ZAMCENY.HLP“ nelze přečíst" << false;
    // clang-format on
}

void HelpViewerTest::reportsFailuresInItsWindow()
{
    QFETCH(QString, file);
    QFETCH(QString, command);
    QFETCH(QString, data);
    QFETCH(QString, message);
    QFETCH(bool, contentsLink);
    QVERIFY(writeFile(work_.filePath("BEZOBSAHU.HLP"), "<!-- topic 1 -->\n## A\n"));
    QVERIFY(writeFile(work_.filePath("ZAMCENY.HLP"), helpFile("A")));
    if (file == "ZAMCENY.HLP"
        && (!QFile::setPermissions(work_.filePath(file), QFileDevice::Permissions{})
            || QFile(work_.filePath(file)).open(QIODevice::ReadOnly)))
        QSKIP("this user reads every file (root), or permissions do not apply (Windows)");

    // On a new viewer, and after a topic was shown; then the viewer shows
    // that topic again.
    HelpViewer viewer;
    for (int round = 0; round < 2; ++round) {
        viewer.request({work_.path(), file, command, data});
        QCOMPARE(viewer.windowTitle(), QStringLiteral("Nápověda - chyba"));
        const QString text = viewer.browser()->toPlainText();
        QVERIFY2(text.contains(message), qPrintable(text));
        if (round == 0)
            QCOMPARE(links(viewer.browser()), contentsLink ? QStringList{"obsah"} : QStringList{});
        viewer.request({work_.path(), "BAS.HLP", "1", "3"});
        QCOMPARE(viewer.windowTitle(), QStringLiteral("Nápověda - Výpočet"));
    }
}

void HelpViewerTest::looksInRequestersDirectoryFirst_data()
{
    // Which places hold a PORADI.HLP, and whose is shown.
    QTest::addColumn<QStringList>("holding");
    QTest::addColumn<QString>("shown");
    QTest::newRow("everywhere") << QStringList{"work", "programs", "share"} << "work";
    QTest::newRow("not in the working directory") << QStringList{"programs", "share"} << "programs";
    QTest::newRow("installed data directory") << QStringList{"share"} << "share";
    QTest::newRow("nowhere") << QStringList{} << "chyba";
}

void HelpViewerTest::looksInRequestersDirectoryFirst()
{
    QFETCH(QStringList, holding);
    QFETCH(QString, shown);
    const QString programs = QCoreApplication::applicationDirPath();
    const QMap<QString, QString> dirs{
        {"work", work_.path()},
        {"programs", programs},
        {"share", QDir::cleanPath(programs + "/" VENTBOX_HELP_DIR_FROM_PROGRAMS)}};
    if (dirs["share"] == programs) {
        QCOMPARE(HelpViewer::searchPath(work_.path()),
                 (QStringList{QDir::cleanPath(work_.path()), programs}));
        if (shown == "share")
            QSKIP("the help file is installed beside the programs (Windows)");
        holding.removeAll("share");
    } else {
        QCOMPARE(HelpViewer::searchPath(work_.path()),
                 (QStringList{QDir::cleanPath(work_.path()), programs, dirs["share"]}));
    }
    const auto removeFiles = qScopeGuard([&] {
        for (const QString& dir : dirs)
            QFile::remove(dir + "/PORADI.HLP");
        QDir().rmdir(dirs["work"] + "/PORADI.HLP");
    });
    for (const QString& place : holding) {
        QVERIFY(QDir().mkpath(dirs[place]));
        QVERIFY(writeFile(dirs[place] + "/PORADI.HLP", helpFile(place.toUtf8())));
    }
    if (!holding.contains("work")) // a directory of that name is no help file
        QVERIFY(QDir().mkpath(dirs["work"] + "/PORADI.HLP"));

    HelpViewer viewer;
    viewer.request({work_.path(), "PORADI.HLP", "3", "0"});
    QCOMPARE(viewer.windowTitle(), "Nápověda - " + shown);
}

void HelpViewerTest::secondStartHandsOverAndEnds_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("serverNamed"); // else the server's name is one per user
    QTest::newRow("topic 1") << QStringList{"BAS.HLP", "1", "1"} << "Vlastní 1" << true;
    QTest::newRow("no command: contents") << QStringList{"BAS.HLP"} << "Vlastní" << true;
    QTest::newRow("per user") << QStringList{"BAS.HLP", "1", "1"} << "Vlastní 1" << false;
}

void HelpViewerTest::secondStartHandsOverAndEnds()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, title);
    QFETCH(bool, serverNamed);
    // Without VENTBOX_HELP_SERVER, in a temporary directory of this test's
    // own: no viewer of the user's is disturbed.
    QTemporaryDir temp;
    const QByteArray oldTemp = qgetenv("TMPDIR");
    const auto restore = qScopeGuard([&] {
        if (oldTemp.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", oldTemp);
    });
    if (!serverNamed) {
        qunsetenv("VENTBOX_HELP_SERVER");
        qputenv("TMPDIR", temp.path().toUtf8());
    }
    HelpViewer running;
    QVERIFY(running.listen(HelpViewer::serverName()));
    running.request({work_.path(), "BAS.HLP", "1", "1"});
    QCOMPARE(running.windowTitle(), QStringLiteral("Nápověda - Základní údaje"));
    // Started in a directory with a help file of its own: the running viewer
    // shows that file.
    QTemporaryDir own;
    QVERIFY(writeFile(own.filePath("BAS.HLP"), helpFile("Vlastní")));
    QProcess* second = startViewer(arguments, own.path());
    QTRY_COMPARE_WITH_TIMEOUT(running.windowTitle(), "Nápověda - " + title, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(second->state(), QProcess::NotRunning, 10000);
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
}

void HelpViewerTest::recoversFromStaleSocket()
{
    QProcess* first = startViewer({"BAS.HLP", "3", "0"});
    QTRY_VERIFY_WITH_TIMEOUT(answers(server_), 20000);
    first->kill();
    QVERIFY(first->waitForFinished());
    // Nobody answers on its socket, which on Unix is still there (a Windows
    // pipe goes with its server).
#ifndef Q_OS_WIN
    QVERIFY(QFileInfo(QDir::temp().filePath(server_)).exists());
#endif
    QVERIFY(!answers(server_));

    QProcess* second = startViewer({"BAS.HLP", "1", "2"});
    QTRY_VERIFY_WITH_TIMEOUT(answers(server_), 20000);
    // It listens for good: a third start hands over to it and ends.
    QProcess* third = startViewer({"BAS.HLP", "1", "3"});
    QVERIFY(third->waitForFinished(20000));
    QCOMPARE(third->exitCode(), 0);
    QCOMPARE(second->state(), QProcess::Running);
}

void HelpViewerTest::showsWithoutLockOrServer()
{
    // In a folder that does not exist, neither the lock nor the socket can
    // be made: the viewer says so and shows its topic all the same.
    const QString server = work_.filePath(QStringLiteral("missing/ventbox-help"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^ventbox-help: cannot lock .*missing"));
#ifndef Q_OS_WIN // a pipe's name may hold any path
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^ventbox-help: cannot listen as "));
#endif
    const auto viewer = HelpViewer::start({work_.path(), "BAS.HLP", "1", "1"}, server);
    QVERIFY(viewer);
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Nápověda - Základní údaje"));
}

void HelpViewerTest::simultaneousStartsLeaveOneViewer()
{
    // Help asked for quickly thrice, before any viewer listens: the other
    // two hand their requests to one of them and end.
    for (const QString context : {"1", "2", "3"})
        startViewer({"BAS.HLP", "1", context});
    const auto ended = [this] {
        return std::count_if(started_.begin(), started_.end(),
                             [](const auto& p) { return p->state() == QProcess::NotRunning; });
    };
    QTRY_COMPARE_WITH_TIMEOUT(ended(), 2, 30000);
    for (const auto& process : started_) {
        if (process->state() == QProcess::NotRunning)
            QCOMPARE(process->exitCode(), 0);
    }
    QVERIFY(answers(server_));
    QTest::qWait(500);
    QCOMPARE(ended(), 2);
}

void HelpViewerTest::contrastOfKnownColours_data()
{
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("page");
    QTest::addColumn<double>("ratio");
    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("white on black") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
    QTest::newRow("the same grey") << QColor(128, 128, 128) << QColor(128, 128, 128) << 1.0;
    QTest::newRow("blue on white") << QColor(Qt::blue) << QColor(Qt::white) << 8.59;
    QTest::newRow("red on white") << QColor(Qt::red) << QColor(Qt::white) << 4.00;
    QTest::newRow("#767676 on white") << QColor(0x76, 0x76, 0x76) << QColor(Qt::white) << 4.54;
}

void HelpViewerTest::contrastOfKnownColours()
{
    QFETCH(QColor, text);
    QFETCH(QColor, page);
    QFETCH(double, ratio);
    const double got = platform::help::contrast(text, page);
    QVERIFY2(qAbs(got - ratio) < 0.01, qPrintable(QString::number(got)));
}

void HelpViewerTest::linksStayReadable_data()
{
    QTest::addColumn<QColor>("page");
    QTest::addColumn<QColor>("link");
    QTest::addColumn<bool>("kept");
    const QColor themeBlue(48, 140, 198);
    QTest::newRow("a dark theme's blue on its dark page")
        << QColor(36, 36, 36) << themeBlue << false;
    QTest::newRow("pure blue on black") << QColor(Qt::black) << QColor(Qt::blue) << false;
    QTest::newRow("yellow on white") << QColor(Qt::white) << QColor(Qt::yellow) << false;
    QTest::newRow("blue on white") << QColor(Qt::white) << QColor(Qt::blue) << true;
    QTest::newRow("the same blue on a light page")
        << QColor(239, 239, 239) << QColor(0, 90, 160) << true;
}

void HelpViewerTest::linksStayReadable()
{
    QFETCH(QColor, page);
    QFETCH(QColor, link);
    QFETCH(bool, kept);
    QPalette palette(Qt::gray);
    palette.setColor(QPalette::Base, page);
    palette.setColor(QPalette::Link, link);
    palette.setColor(QPalette::LinkVisited, link);
    const QPalette readable = platform::help::readableLinks(palette);
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        for (const auto role : {QPalette::Link, QPalette::LinkVisited}) {
            const QColor shown = readable.color(group, role);
            QVERIFY2(platform::help::contrast(shown, page) >= 4.5, qPrintable(shown.name()));
            if (kept)
                QCOMPARE(shown, link);
            else // lightened on a dark page, darkened on a light one
                QCOMPARE(shown.lightness() > link.lightness(), page.lightness() < 128);
        }
    }
    QCOMPARE(readable.color(QPalette::Text), palette.color(QPalette::Text));
}

QTEST_MAIN(HelpViewerTest)
#include "helpviewer_test.moc"
