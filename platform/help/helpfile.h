#pragma once
// The help file: a UTF-8 text of topics, each opened by a header line.
//
//   # a comment line (only where the line starts with "#")
//   === obsah Nápověda k programu     <- the contents topic
//   === 1 Základní údaje              <- the topic of help context 1
//
// Inside a topic:
//   - a paragraph is a run of text lines; an empty line ends it;
//   - "== text" is a subheading;
//   - "- text" starts a list item; following lines indented by blanks
//     continue it;
//   - "> text" is a line set apart and indented (a formula);
//   - "[[2]]" links to the topic of context 2 and shows its title,
//     "[[2|text]]" shows the text instead, "[[obsah]]" links to the
//     contents; "**text**" is bold.
// Context numbers are 1 to 4294967295 (0 means "no context" to the program).

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform::help {

// The context of the contents topic in a parsed file: no real context is 0.
inline constexpr quint32 contentsContext = 0;

struct HelpBlock {
    enum class Kind { Paragraph, Heading, ListItem, Display };
    Kind kind = Kind::Paragraph;
    QString text; // still with its links and bold marks
    int line = 0; // line number where it starts
};

struct HelpTopic {
    quint32 context = contentsContext;
    QString title;
    QList<HelpBlock> blocks;
    QList<quint32> links; // targets of its links, in order of appearance
    int line = 0;         // line number of its header
};

struct HelpFile {
    QList<HelpTopic> topics; // in file order

    const HelpTopic* contents() const { return topic(contentsContext); }
    const HelpTopic* topic(quint32 context) const;
};

struct ParseError {
    int line = 0;    // 1-based; 0 when the error concerns the whole file
    QString message; // Czech, for the user
};

struct ParseResult {
    HelpFile file;
    std::optional<ParseError> error;
    bool ok() const { return !error; }
};

// Parses the text of a help file. A file without any topic, text before the
// first header, a bad header, a context given twice, a link to a topic that
// is not there and an unclosed link or bold mark are errors.
ParseResult parseHelpFile(const QString& text);

// Decodes the bytes of a help file (UTF-8, an optional byte order mark) and
// parses them; bytes that are not UTF-8 are an error.
ParseResult parseHelpFile(const QByteArray& bytes);

// The topic as an HTML fragment for QTextBrowser. Links become anchors
// "topic:<context>" (the contents: "topic:obsah").
QString topicToHtml(const HelpFile& file, const HelpTopic& topic);

// The context named by an anchor made by topicToHtml, if it is one.
std::optional<quint32> contextOfAnchor(const QString& anchor);

// --- Finding the file --------------------------------------------------

// The directories where a help file is looked for, in order: the
// requester's working directory, the directory of the executables, the
// installed data directory and the data directory relative to the
// executables (for an installation that was moved). Empty entries and
// repeats are left out.
QStringList helpSearchDirectories(const QString& workingDirectory,
                                  const QString& applicationDirectory,
                                  const QString& installedDataDirectory);

// The same with the running program's directory and the data directory
// this library was built for.
QStringList helpSearchDirectories(const QString& workingDirectory);

// The absolute path of the first regular file called `name` in `dirs`, or
// an empty string. `name` must be a bare file name: a name with a directory
// part (or "." / "..") is never looked for.
QString findHelpFile(const QString& name, const QStringList& dirs);

bool isBareFileName(const QString& name);

} // namespace platform::help
