// The help file format, where the file is found, the messages between the
// program and the viewer, and the help file that ships with the program.

#include "platform/help/helpchannel.h"
#include "platform/help/helpfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform::help;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// All the text of a topic, marks included, for looking for words.
QString topicText(const HelpTopic& topic)
{
    QString text = topic.title;
    for (const HelpBlock& block : topic.blocks)
        text += u'\n' + block.text;
    return text;
}

using Kind = HelpBlock::Kind;

} // namespace

class HelpFileTest : public QObject {
    Q_OBJECT

private slots:
    void parsesTopicsAndBlocks();
    void parsesHeaders_data();
    void parsesHeaders();
    void rejectsMalformedFiles_data();
    void rejectsMalformedFiles();
    void rejectsBytesThatAreNotUtf8();
    void rendersTopicAsHtml();
    void readsAnchors_data();
    void readsAnchors();

    void searchDirectoriesInOrder_data();
    void searchDirectoriesInOrder();
    void findsFirstDirectoryHoldingTheFile_data();
    void findsFirstDirectoryHoldingTheFile();
    void looksOnlyForBareNames_data();
    void looksOnlyForBareNames();

    void messagesSurviveTheWire_data();
    void messagesSurviveTheWire();
    void rejectsMalformedMessages_data();
    void rejectsMalformedMessages();
    void repliesSurviveTheWire();
    void commandLineCarriesTheRequest_data();
    void commandLineCarriesTheRequest();
    void rejectsBadCommandLines_data();
    void rejectsBadCommandLines();

    void shippedHelpFileHasAllTopics();
    void shippedHelpFileLiesBesideThePrograms();
};

void HelpFileTest::parsesTopicsAndBlocks()
{
    const QString text = QStringLiteral("\xFEFF# comment before the first topic\r\n"
                                        "\r\n"
                                        "=== obsah Obsah\r\n"
                                        "Úvod na\r\n"
                                        "  dvou řádcích.\r\n"
                                        "\r\n"
                                        "- [[1]] a\r\n"
                                        "  pokračování\r\n"
                                        "- [[2|druhé]]\r\n"
                                        "Odstavec po seznamu.\r\n"
                                        "=== 1 První téma\n"
                                        "== Podnadpis\n"
                                        "> a = b × c\n"
                                        "# komentář uvnitř tématu\n"
                                        "**tučně** text\n"
                                        "=== 2   Druhé   téma  \n"
                                        "[[obsah]]\n");
    const ParseResult result = parseHelpFile(text);
    QVERIFY2(result.ok(), qPrintable(result.error ? result.error->message : QString()));
    const HelpFile& file = result.file;
    QCOMPARE(file.topics.size(), 3);

    const HelpTopic* contents = file.contents();
    QVERIFY(contents);
    QCOMPARE(contents->title, QStringLiteral("Obsah"));
    QCOMPARE(contents->line, 3);
    QCOMPARE(contents->links, (QList<quint32>{1, 2}));
    QCOMPARE(contents->blocks.size(), 4);
    const QList<std::pair<Kind, QString>> expected{
        {Kind::Paragraph, QStringLiteral("Úvod na dvou řádcích.")},
        {Kind::ListItem, QStringLiteral("[[1]] a pokračování")},
        {Kind::ListItem, QStringLiteral("[[2|druhé]]")},
        {Kind::Paragraph, QStringLiteral("Odstavec po seznamu.")},
    };
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(contents->blocks.at(i).kind, expected.at(i).first);
        QCOMPARE(contents->blocks.at(i).text, expected.at(i).second);
    }

    const HelpTopic* first = file.topic(1);
    QVERIFY(first);
    QCOMPARE(first->title, QStringLiteral("První téma"));
    QCOMPARE(first->blocks.size(), 3);
    QCOMPARE(first->blocks.at(0).kind, Kind::Heading);
    QCOMPARE(first->blocks.at(0).text, QStringLiteral("Podnadpis"));
    QCOMPARE(first->blocks.at(1).kind, Kind::Display);
    QCOMPARE(first->blocks.at(1).text, QStringLiteral("a = b × c"));
    QCOMPARE(first->blocks.at(2).kind, Kind::Paragraph);
    QCOMPARE(first->blocks.at(2).line, 15);

    const HelpTopic* second = file.topic(2);
    QVERIFY(second);
    QCOMPARE(second->title, QStringLiteral("Druhé   téma"));
    QCOMPARE(second->links, QList<quint32>{contentsContext});
    QVERIFY(!file.topic(3));
}

void HelpFileTest::parsesHeaders_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<quint32>("context");
    QTest::addColumn<QString>("title");
    QTest::newRow("contents") << "=== obsah Nápověda" << contentsContext << "Nápověda";
    QTest::newRow("contents, any case") << "=== Obsah N" << contentsContext << "N";
    QTest::newRow("context 1") << "=== 1 Základní údaje" << 1u << "Základní údaje";
    QTest::newRow("leading zeros") << "=== 007 Sedm" << 7u << "Sedm";
    QTest::newRow("largest context") << "=== 4294967295 Poslední" << 4294967295u << "Poslední";
    QTest::newRow("tab separates") << "===\t12\tDvanáct" << 12u << "Dvanáct";
}

void HelpFileTest::parsesHeaders()
{
    QFETCH(QString, header);
    QFETCH(quint32, context);
    QFETCH(QString, title);
    const ParseResult result = parseHelpFile(header + QStringLiteral("\ntext\n"));
    QVERIFY2(result.ok(), qPrintable(result.error ? result.error->message : QString()));
    QCOMPARE(result.file.topics.size(), 1);
    QCOMPARE(result.file.topics.at(0).context, context);
    QCOMPARE(result.file.topics.at(0).title, title);
}

void HelpFileTest::rejectsMalformedFiles_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::newRow("empty file") << "" << 0;
    QTest::newRow("only comments") << "# nic\n\n# nic\n" << 0;
    QTest::newRow("text before first topic") << "úvod\n=== 1 A\n" << 1;
    QTest::newRow("header without anything") << "=== 1 A\nx\n===\n" << 3;
    QTest::newRow("header without title") << "=== 1\n" << 1;
    QTest::newRow("header with word") << "=== jedna A\n" << 1;
    QTest::newRow("signed context") << "=== +1 A\n" << 1;
    QTest::newRow("context 0") << "=== 0 A\n" << 1;
    QTest::newRow("context too large") << "=== 4294967296 A\n" << 1;
    QTest::newRow("context twice") << "=== 1 A\n\n=== 01 B\n" << 3;
    QTest::newRow("contents twice") << "=== obsah A\n=== OBSAH B\n" << 2;
    QTest::newRow("link to missing topic") << "=== 1 A\n\nviz [[2]]\n" << 3;
    QTest::newRow("link to missing contents") << "=== 1 A\ntext\n[[obsah]] dál\n" << 2;
    QTest::newRow("link to context 0") << "=== 1 A\n- [[0]]\n" << 2;
    QTest::newRow("link without target") << "=== 1 A\n[[|text]]\n" << 2;
    QTest::newRow("unclosed link") << "=== 1 A\n\n[[1\n" << 3;
    QTest::newRow("unclosed bold") << "=== 1 A\n== **nadpis\n" << 2;
    QTest::newRow("empty subheading") << "=== 1 A\n==\n" << 2;
    QTest::newRow("error in later topic") << "=== 1 A\nok\n=== 2 B\n**x\n" << 4;
}

void HelpFileTest::rejectsMalformedFiles()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    const ParseResult result = parseHelpFile(text);
    QVERIFY(!result.ok());
    QCOMPARE(result.error->line, line);
    QVERIFY(!result.error->message.isEmpty());
}

void HelpFileTest::rejectsBytesThatAreNotUtf8()
{
    // "Základní" in Windows-1250: a help file saved in the wrong encoding.
    const ParseResult wrong = parseHelpFile(QByteArray("=== 1 Z\xe1kladn\xed\n"));
    QVERIFY(!wrong.ok());
    QCOMPARE(wrong.error->line, 0);

    const ParseResult right =
        parseHelpFile(QByteArray("\xef\xbb\xbf=== 1 Z\xc3\xa1kladn\xc3\xad\n"));
    QVERIFY(right.ok());
    QCOMPARE(right.file.topics.at(0).title, QStringLiteral("Základní"));
}

void HelpFileTest::rendersTopicAsHtml()
{
    const ParseResult result = parseHelpFile(QStringLiteral("=== obsah Obsah & <rejstřík>\n"
                                                            "- [[1]]\n"
                                                            "- [[1|vlastní <text>]]\n"
                                                            "Konec a < b, **tučně**.\n"
                                                            "=== 1 Téma \"jedna\"\n"
                                                            "> x\n"
                                                            "[[obsah]]\n"));
    QVERIFY(result.ok());
    const QString contents = topicToHtml(result.file, *result.file.contents());
    QVERIFY(contents.contains(QStringLiteral("<h2>Obsah &amp; &lt;rejstřík&gt;</h2>")));
    QVERIFY(contents.contains(
        QStringLiteral("<ul>\n<li><a href=\"topic:1\">Téma &quot;jedna&quot;</a></li>\n"
                       "<li><a href=\"topic:1\">vlastní &lt;text&gt;</a></li>\n</ul>\n")));
    QVERIFY(contents.contains(QStringLiteral("<p>Konec a &lt; b, <b>tučně</b>.</p>")));

    const QString first = topicToHtml(result.file, *result.file.topic(1));
    QVERIFY(
        first.contains(QStringLiteral("<a href=\"topic:obsah\">Obsah &amp; &lt;rejstřík&gt;</a>")));
    QVERIFY(!first.contains(QStringLiteral("<ul>")));
}

void HelpFileTest::readsAnchors_data()
{
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<quint32>("context");
    QTest::newRow("topic") << "topic:3" << true << 3u;
    QTest::newRow("contents") << "topic:obsah" << true << contentsContext;
    QTest::newRow("context 0") << "topic:0" << false << 0u;
    QTest::newRow("not a number") << "topic:x" << false << 0u;
    QTest::newRow("other scheme") << "https://example.org/3" << false << 0u;
    QTest::newRow("bare number") << "3" << false << 0u;
}

void HelpFileTest::readsAnchors()
{
    QFETCH(QString, anchor);
    QFETCH(bool, valid);
    QFETCH(quint32, context);
    const auto read = contextOfAnchor(anchor);
    QCOMPARE(read.has_value(), valid);
    if (valid)
        QCOMPARE(*read, context);
}

void HelpFileTest::searchDirectoriesInOrder_data()
{
    QTest::addColumn<QString>("working");
    QTest::addColumn<QString>("application");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("all different") << "/home/u/navrhy"
                                   << "/opt/vb/bin"
                                   << "/usr/share/ventbox"
                                   << QStringList{"/home/u/navrhy", "/opt/vb/bin",
                                                  "/usr/share/ventbox", "/opt/vb/share/ventbox"};
    QTest::newRow("started beside the programs")
        << "/opt/vb/bin/"
        << "/opt/vb/bin"
        << "/opt/vb/bin/../share/ventbox" << QStringList{"/opt/vb/bin", "/opt/vb/share/ventbox"};
    QTest::newRow("no working directory")
        << ""
        << "/opt/vb/bin"
        << "/usr/share/ventbox"
        << QStringList{"/opt/vb/bin", "/usr/share/ventbox", "/opt/vb/share/ventbox"};
}

void HelpFileTest::searchDirectoriesInOrder()
{
    QFETCH(QString, working);
    QFETCH(QString, application);
    QFETCH(QString, data);
    QFETCH(QStringList, expected);
    QCOMPARE(helpSearchDirectories(working, application, data), expected);
}

void HelpFileTest::findsFirstDirectoryHoldingTheFile_data()
{
    // Which of the four places hold a BAS.HLP, and which one is found.
    QTest::addColumn<QStringList>("holding");
    QTest::addColumn<QString>("found");
    QTest::newRow("everywhere") << QStringList{"work", "bin", "data", "share"} << "work";
    QTest::newRow("not in working directory") << QStringList{"bin", "data", "share"} << "bin";
    QTest::newRow("only data directories") << QStringList{"data", "share"} << "data";
    QTest::newRow("only the moved installation") << QStringList{"share"} << "share";
    QTest::newRow("working and data") << QStringList{"work", "data"} << "work";
    QTest::newRow("nowhere") << QStringList{} << "";
}

void HelpFileTest::findsFirstDirectoryHoldingTheFile()
{
    QFETCH(QStringList, holding);
    QFETCH(QString, found);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QMap<QString, QString> dirs{
        {"work", root.filePath("home/navrhy")},
        {"bin", root.filePath("prefix/bin")},
        {"data", root.filePath("usr/share/ventbox")},
        {"share", root.filePath("prefix/share/ventbox")},
    };
    for (const QString& dir : dirs)
        QVERIFY(QDir().mkpath(dir));
    for (const QString& key : holding)
        QVERIFY(writeFile(dirs[key] + "/BAS.HLP", key.toUtf8()));
    // A directory of that name is no help file.
    if (!holding.contains("work"))
        QVERIFY(QDir().mkpath(dirs["work"] + "/BAS.HLP"));

    const QStringList search = helpSearchDirectories(dirs["work"], dirs["bin"], dirs["data"]);
    const QString path = findHelpFile("BAS.HLP", search);
    if (found.isEmpty()) {
        QCOMPARE(path, QString());
    } else {
        QCOMPARE(path, QFileInfo(dirs[found] + "/BAS.HLP").absoluteFilePath());
        QCOMPARE(readFile(path), found.toUtf8());
    }
}

void HelpFileTest::looksOnlyForBareNames_data()
{
    // "@" stands for the temporary directory; "work" holds BAS.HLP and
    // sub/BAS.HLP, and a file whose name is "sub\\BAS.HLP".
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bare");
    QTest::addColumn<bool>("found");
    QTest::newRow("bare name") << "BAS.HLP" << true << true;
    QTest::newRow("other case") << "bas.hlp" << true << false;
    QTest::newRow("subdirectory") << "sub/BAS.HLP" << false << false;
    QTest::newRow("parent directory") << "../work/BAS.HLP" << false << false;
    QTest::newRow("absolute path") << "@/work/sub/BAS.HLP" << false << false;
    QTest::newRow("backslash path") << "sub\\BAS.HLP" << false << false;
    QTest::newRow("dot") << "." << false << false;
    QTest::newRow("dot dot") << ".." << false << false;
    QTest::newRow("empty") << "" << false << false;
}

void HelpFileTest::looksOnlyForBareNames()
{
    QFETCH(QString, name);
    QFETCH(bool, bare);
    QFETCH(bool, found);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString work = root.filePath("work");
    QVERIFY(QDir().mkpath(work + "/sub"));
    QVERIFY(writeFile(work + "/BAS.HLP", "x"));
    QVERIFY(writeFile(work + "/sub/BAS.HLP", "x"));
    QVERIFY(writeFile(work + "/sub\\BAS.HLP", "x"));
    name.replace(u'@', root.path());
    QCOMPARE(isBareFileName(name), bare);
    QCOMPARE(findHelpFile(name, {work, work + "/sub"}).isEmpty(), !found);
}

void HelpFileTest::messagesSurviveTheWire_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("command");
    QTest::addColumn<quint32>("data");
    QTest::addColumn<QString>("dir");
    QTest::newRow("contents") << 0 << "BAS.HLP" << 3 << 0u << "/home/u";
    QTest::newRow("context") << 0 << "BAS.HLP" << 1 << 4u << "/tmp/a b";
    QTest::newRow("largest data") << 0 << "x" << 1 << 4294967295u << "";
    QTest::newRow("negative command") << 0 << "x" << -7 << 1u << "/";
    QTest::newRow("non-ASCII and newline")
        << 0 << "Nápověda\n\"2\".HLP" << 3 << 4u << "/home/žluťoučký kůň";
    QTest::newRow("state") << 1 << "" << 3 << 0u << "";
}

void HelpFileTest::messagesSurviveTheWire()
{
    QFETCH(int, kind);
    QFETCH(QString, file);
    QFETCH(int, command);
    QFETCH(quint32, data);
    QFETCH(QString, dir);
    ViewerMessage message;
    message.kind = kind == 0 ? ViewerMessage::Kind::Show : ViewerMessage::Kind::State;
    message.request = {file, command, data, dir};
    const QByteArray line = encodeMessage(message);
    QVERIFY(line.endsWith('\n'));
    QCOMPARE(line.count('\n'), 1);
    const auto decoded = decodeMessage(line);
    QVERIFY(decoded);
    QCOMPARE(decoded->kind, message.kind);
    if (message.kind == ViewerMessage::Kind::Show) {
        QCOMPARE(decoded->request.file, file);
        QCOMPARE(decoded->request.command, command);
        QCOMPARE(decoded->request.data, data);
        QCOMPARE(decoded->request.workingDirectory, dir);
    }
}

void HelpFileTest::rejectsMalformedMessages_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("not JSON") << QByteArray("BAS.HLP 1 2\n");
    QTest::newRow("array") << QByteArray("[1,2]\n");
    QTest::newRow("no type") << QByteArray(R"({"file":"a","command":1,"data":2})");
    QTest::newRow("unknown type") << QByteArray(R"({"type":"quit"})");
    QTest::newRow("no file") << QByteArray(R"({"type":"show","command":1,"data":2})");
    QTest::newRow("file not text") << QByteArray(R"({"type":"show","file":5,"command":1})");
    QTest::newRow("no command") << QByteArray(R"({"type":"show","file":"a","data":2})");
    QTest::newRow("fractional command")
        << QByteArray(R"({"type":"show","file":"a","command":1.5})");
    QTest::newRow("command too large")
        << QByteArray(R"({"type":"show","file":"a","command":3000000000})");
    QTest::newRow("negative data")
        << QByteArray(R"({"type":"show","file":"a","command":1,"data":-1})");
    QTest::newRow("data too large")
        << QByteArray(R"({"type":"show","file":"a","command":1,"data":4294967296})");
    QTest::newRow("data as text") << QByteArray(
        R"({"type":"show","file":"a","command":1,"data":"2"})");
    QTest::newRow("dir not text") << QByteArray(
        R"({"type":"show","file":"a","command":1,"dir":[]})");
}

void HelpFileTest::rejectsMalformedMessages()
{
    QFETCH(QByteArray, line);
    QVERIFY(!decodeMessage(line));
}

void HelpFileTest::repliesSurviveTheWire()
{
    HelpReply reply;
    reply.ok = false;
    reply.pid = 123456;
    reply.shown = "error";
    reply.context = 4294967295u;
    reply.title = "Výpočet";
    reply.windowTitle = "Nápověda - chyba";
    reply.path = "/usr/share/ventbox/BAS.HLP";
    reply.error = "V souboru nápovědy „BAS.HLP“ není téma pro kontext 9.";
    reply.text = "Chyba\nřádek dva";
    reply.visible = true;
    reply.handled = 17;
    const auto decoded = decodeReply(encodeReply(reply));
    QVERIFY(decoded);
    QCOMPARE(decoded->ok, reply.ok);
    QCOMPARE(decoded->pid, reply.pid);
    QCOMPARE(decoded->shown, reply.shown);
    QCOMPARE(decoded->context, reply.context);
    QCOMPARE(decoded->title, reply.title);
    QCOMPARE(decoded->windowTitle, reply.windowTitle);
    QCOMPARE(decoded->path, reply.path);
    QCOMPARE(decoded->error, reply.error);
    QCOMPARE(decoded->text, reply.text);
    QCOMPARE(decoded->visible, reply.visible);
    QCOMPARE(decoded->handled, reply.handled);

    QVERIFY(!decodeReply("{}"));
    QVERIFY(!decodeReply(R"({"ok":"yes","pid":1,"context":0,"handled":0})"));
    QVERIFY(decodeReply(R"({"ok":true,"pid":1,"context":0,"handled":0})"));
}

void HelpFileTest::commandLineCarriesTheRequest_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("command");
    QTest::addColumn<quint32>("data");
    QTest::addColumn<QString>("dir");
    QTest::newRow("contents") << "BAS.HLP" << 3 << 0u << "/home/u/návrhy";
    QTest::newRow("context") << "BAS.HLP" << 1 << 4u << "/tmp/a b";
    QTest::newRow("file like an option") << "--dir" << 1 << 2u << "/x";
    QTest::newRow("unknown command") << "-" << -8 << 4294967295u << "/";
}

void HelpFileTest::commandLineCarriesTheRequest()
{
    QFETCH(QString, file);
    QFETCH(int, command);
    QFETCH(quint32, data);
    QFETCH(QString, dir);
    QString error;
    const auto request =
        requestFromArguments(requestToArguments({file, command, data, dir}), "/elsewhere", &error);
    QVERIFY2(request, qPrintable(error));
    QCOMPARE(request->file, file);
    QCOMPARE(request->command, command);
    QCOMPARE(request->data, data);
    QCOMPARE(request->workingDirectory, dir);
}

void HelpFileTest::rejectsBadCommandLines_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("command not a number") << QStringList{"BAS.HLP", "obsah"};
    QTest::newRow("negative data") << QStringList{"BAS.HLP", "1", "-1"};
    QTest::newRow("data too large") << QStringList{"BAS.HLP", "1", "4294967296"};
    QTest::newRow("too many") << QStringList{"BAS.HLP", "1", "2", "3"};
    QTest::newRow("unknown option") << QStringList{"--verbose", "BAS.HLP"};
    QTest::newRow("dir without value") << QStringList{"BAS.HLP", "--dir"};
}

void HelpFileTest::rejectsBadCommandLines()
{
    QFETCH(QStringList, arguments);
    QString error;
    QVERIFY(!requestFromArguments(arguments, "/", &error));
    QVERIFY(!error.isEmpty());

    // What the command line leaves out.
    const auto defaults = requestFromArguments({"BAS.HLP"}, "/here", &error);
    QVERIFY(defaults);
    QCOMPARE(defaults->command, commandContents);
    QCOMPARE(defaults->data, 0u);
    QCOMPARE(defaults->workingDirectory, QStringLiteral("/here"));
}

void HelpFileTest::shippedHelpFileHasAllTopics()
{
    const ParseResult result = parseHelpFile(readFile(VENTBOX_HELP_SOURCE));
    QVERIFY2(
        result.ok(),
        qPrintable(
            result.error
                ? QStringLiteral("line %1: %2").arg(result.error->line).arg(result.error->message)
                : QString()));
    const HelpFile& file = result.file;
    QCOMPARE(file.topics.size(), 5);
    QVERIFY(file.contents());
    for (quint32 context : {1u, 2u, 3u, 4u})
        QVERIFY2(file.contents()->links.contains(context), qPrintable(QString::number(context)));

    // Each topic is about its own part of the program (no two swapped).
    const QList<std::pair<quint32, QStringList>> topics{
        {1, {"Základní údaje", "Fs", "Qts", "Vas", "Rdc", "Re", "Hz", "litrech", "tečku"}},
        {2, {"Doplňující údaje", "cm²", "Vb", "litrech", "Výpočet plochy nátrubku"}},
        {3, {"Výpočet", "Qtc", "Fb", "k = 0.75", "k = 0.6", "1176490", "Tisk"}},
        {4,
         {"Výpočet plochy nátrubku", "Kruh", "Obdélník", "Čtverec", "Trojúhelník", "999",
          "Vložit"}},
    };
    for (const auto& [context, words] : topics) {
        const HelpTopic* topic = file.topic(context);
        QVERIFY2(topic, qPrintable(QString::number(context)));
        QVERIFY(topic->blocks.size() >= 2);
        QCOMPARE(topic->title, words.first());
        const QString text = topicText(*topic);
        for (const QString& word : words)
            QVERIFY2(text.contains(word),
                     qPrintable(QStringLiteral("%1: %2").arg(context).arg(word)));
    }
}

void HelpFileTest::shippedHelpFileLiesBesideThePrograms()
{
    // The build puts a copy beside the executables, where a program started
    // from the build tree looks.
    const QString found = findHelpFile("BAS.HLP", helpSearchDirectories(QString()));
    QCOMPARE(found, QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("BAS.HLP"));
    QCOMPARE(readFile(found), readFile(VENTBOX_HELP_SOURCE));
}

QTEST_GUILESS_MAIN(HelpFileTest)
#include "helpfile_test.moc"
