#include "platform/help/helpfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace platform::help {

namespace {

QString contentsName()
{
    return QStringLiteral("obsah");
}

QString anchorPrefix()
{
    return QStringLiteral("topic:");
}

// One piece of a block's text after its marks are read.
struct Span {
    enum class Kind { Text, BoldOn, BoldOff, Link };
    Kind kind = Kind::Text;
    QString text;       // the text, or the link's own label (may be empty)
    quint32 target = 0; // for links
};

struct InlineResult {
    QList<Span> spans;
    QString error;
};

// A context number as written in a header or link: "obsah" or 1..2^32-1.
std::optional<quint32> parseContextName(const QString& word, QString* error)
{
    if (word.compare(contentsName(), Qt::CaseInsensitive) == 0)
        return contentsContext;
    bool digits = !word.isEmpty();
    for (QChar c : word)
        digits = digits && c >= u'0' && c <= u'9';
    if (!digits) {
        *error = QStringLiteral("„%1“ není číslo kontextu ani „obsah“").arg(word);
        return std::nullopt;
    }
    bool ok = false;
    const qulonglong value = word.toULongLong(&ok, 10);
    if (!ok || value > 0xFFFFFFFFull) {
        *error = QStringLiteral("číslo kontextu %1 je příliš velké").arg(word);
        return std::nullopt;
    }
    if (value == 0) {
        *error = QStringLiteral("kontext 0 znamená „bez kontextu“ a nemůže mít téma");
        return std::nullopt;
    }
    return static_cast<quint32>(value);
}

InlineResult parseInline(const QString& text)
{
    InlineResult result;
    QString plain;
    bool bold = false;
    auto flushText = [&] {
        if (!plain.isEmpty())
            result.spans.append({Span::Kind::Text, plain, 0});
        plain.clear();
    };
    qsizetype i = 0;
    while (i < text.size()) {
        if (text.mid(i, 2) == QLatin1String("[[")) {
            const qsizetype end = text.indexOf(QLatin1String("]]"), i + 2);
            if (end < 0) {
                result.error = QStringLiteral("odkaz „[[“ není uzavřen „]]“");
                return result;
            }
            const QString inner = text.mid(i + 2, end - i - 2);
            const qsizetype bar = inner.indexOf(u'|');
            const QString targetName = (bar < 0 ? inner : inner.left(bar)).trimmed();
            const QString label = bar < 0 ? QString() : inner.mid(bar + 1).trimmed();
            QString error;
            const auto target = parseContextName(targetName, &error);
            if (!target) {
                result.error = QStringLiteral("chybný odkaz „[[%1]]“: %2").arg(inner, error);
                return result;
            }
            flushText();
            result.spans.append({Span::Kind::Link, label, *target});
            i = end + 2;
        } else if (text.mid(i, 2) == QLatin1String("**")) {
            flushText();
            result.spans.append({bold ? Span::Kind::BoldOff : Span::Kind::BoldOn, {}, 0});
            bold = !bold;
            i += 2;
        } else {
            plain.append(text.at(i));
            ++i;
        }
    }
    if (bold) {
        result.error = QStringLiteral("tučné písmo „**“ není uzavřeno");
        return result;
    }
    flushText();
    return result;
}

bool isBlank(const QString& line)
{
    return line.trimmed().isEmpty();
}

class Parser {
public:
    ParseResult run(const QString& text)
    {
        QStringList lines = text.split(u'\n');
        for (int n = 0; n < lines.size() && !result_.error; ++n) {
            QString line = lines.at(n);
            if (line.endsWith(u'\r'))
                line.chop(1);
            if (n == 0 && line.startsWith(QChar(0xFEFF)))
                line.remove(0, 1);
            handleLine(n + 1, line);
        }
        if (result_.error)
            return result_;
        endTopic();
        if (result_.file.topics.isEmpty()) {
            fail(0, QStringLiteral("soubor neobsahuje žádné téma"));
            return result_;
        }
        checkMarks();
        return result_;
    }

private:
    void fail(int line, const QString& message)
    {
        if (!result_.error)
            result_.error = ParseError{line, message};
    }

    void flush()
    {
        if (open_ && inTopic_)
            topic_.blocks.append(block_);
        open_ = false;
    }

    // Ends the topic being read: it joins the file.
    void endTopic()
    {
        flush();
        if (inTopic_)
            result_.file.topics.append(topic_);
        inTopic_ = false;
    }

    void start(HelpBlock::Kind kind, int line, const QString& text)
    {
        flush();
        block_ = HelpBlock{kind, text, line};
        open_ = true;
    }

    void handleHeader(int line, const QString& rest)
    {
        endTopic();
        const QString body = rest.trimmed();
        const qsizetype space = body.indexOf(QRegularExpression(QStringLiteral("\\s")));
        const QString word = space < 0 ? body : body.left(space);
        const QString title = space < 0 ? QString() : body.mid(space).trimmed();
        if (word.isEmpty()) {
            fail(line, QStringLiteral("za „===“ chybí číslo kontextu nebo „obsah“"));
            return;
        }
        QString error;
        const auto context = parseContextName(word, &error);
        if (!context) {
            fail(line, error);
            return;
        }
        if (title.isEmpty()) {
            fail(line, QStringLiteral("téma nemá název"));
            return;
        }
        if (const HelpTopic* other = result_.file.topic(*context)) {
            fail(line,
                 *context == contentsContext
                     ? QStringLiteral("obsah je uveden podruhé (poprvé na řádku %1)")
                           .arg(other->line)
                     : QStringLiteral("kontext %1 je uveden podruhé (poprvé na řádku %2)")
                           .arg(*context)
                           .arg(other->line));
            return;
        }
        topic_ = HelpTopic{};
        topic_.context = *context;
        topic_.title = title;
        topic_.line = line;
        inTopic_ = true;
    }

    void handleLine(int line, const QString& text)
    {
        if (text.startsWith(QLatin1String("==="))) {
            handleHeader(line, text.mid(3));
            return;
        }
        if (text.startsWith(u'#'))
            return;
        if (!inTopic_) {
            if (!isBlank(text))
                fail(line,
                     QStringLiteral(
                         "text před prvním tématem (téma začíná řádkem „=== číslo název“)"));
            return;
        }
        if (isBlank(text)) {
            flush();
        } else if (text.startsWith(QLatin1String("=="))) {
            const QString heading = text.mid(2).trimmed();
            if (heading.isEmpty())
                fail(line, QStringLiteral("prázdný podnadpis"));
            start(HelpBlock::Kind::Heading, line, heading);
            flush();
        } else if (text.startsWith(QLatin1String("- "))) {
            start(HelpBlock::Kind::ListItem, line, text.mid(2).trimmed());
        } else if (text.startsWith(u'>')) {
            start(HelpBlock::Kind::Display, line, text.mid(1).trimmed());
            flush();
        } else if (open_
                   && (block_.kind == HelpBlock::Kind::Paragraph
                       || (block_.kind == HelpBlock::Kind::ListItem && text.at(0).isSpace()))) {
            block_.text += u' ' + text.trimmed();
        } else {
            start(HelpBlock::Kind::Paragraph, line, text.trimmed());
        }
    }

    // Links and bold marks, once every topic is known.
    void checkMarks()
    {
        for (HelpTopic& topic : result_.file.topics) {
            for (const HelpBlock& block : topic.blocks) {
                const InlineResult spans = parseInline(block.text);
                if (!spans.error.isEmpty()) {
                    fail(block.line, spans.error);
                    return;
                }
                for (const Span& span : spans.spans) {
                    if (span.kind != Span::Kind::Link)
                        continue;
                    if (!result_.file.topic(span.target)) {
                        fail(block.line,
                             span.target == contentsContext
                                 ? QStringLiteral("odkaz na obsah, který soubor nemá")
                                 : QStringLiteral("odkaz na kontext %1, který nemá téma")
                                       .arg(span.target));
                        return;
                    }
                    topic.links.append(span.target);
                }
            }
        }
    }

    ParseResult result_;
    HelpTopic topic_;
    bool inTopic_ = false;
    HelpBlock block_;
    bool open_ = false;
};

QString inlineToHtml(const HelpFile& file, const QString& text)
{
    QString html;
    for (const Span& span : parseInline(text).spans) {
        switch (span.kind) {
        case Span::Kind::Text: html += span.text.toHtmlEscaped(); break;
        case Span::Kind::BoldOn: html += QLatin1String("<b>"); break;
        case Span::Kind::BoldOff: html += QLatin1String("</b>"); break;
        case Span::Kind::Link: {
            QString label = span.text;
            if (label.isEmpty()) {
                const HelpTopic* target = file.topic(span.target);
                label = target ? target->title : QString::number(span.target);
            }
            const QString name =
                span.target == contentsContext ? contentsName() : QString::number(span.target);
            html += QStringLiteral("<a href=\"%1%2\">%3</a>")
                        .arg(anchorPrefix(), name, label.toHtmlEscaped());
            break;
        }
        }
    }
    return html;
}

} // namespace

const HelpTopic* HelpFile::topic(quint32 context) const
{
    for (const HelpTopic& t : topics) {
        if (t.context == context)
            return &t;
    }
    return nullptr;
}

ParseResult parseHelpFile(const QString& text)
{
    return Parser().run(text);
}

ParseResult parseHelpFile(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        ParseResult result;
        result.error = ParseError{0, QStringLiteral("soubor není v kódování UTF-8")};
        return result;
    }
    return parseHelpFile(text);
}

QString topicToHtml(const HelpFile& file, const HelpTopic& topic)
{
    QString html = QStringLiteral("<h2>%1</h2>\n").arg(topic.title.toHtmlEscaped());
    bool inList = false;
    for (const HelpBlock& block : topic.blocks) {
        const bool item = block.kind == HelpBlock::Kind::ListItem;
        if (item && !inList)
            html += QLatin1String("<ul>\n");
        if (!item && inList)
            html += QLatin1String("</ul>\n");
        inList = item;
        const QString body = inlineToHtml(file, block.text);
        switch (block.kind) {
        case HelpBlock::Kind::Paragraph: html += QStringLiteral("<p>%1</p>\n").arg(body); break;
        case HelpBlock::Kind::Heading: html += QStringLiteral("<h3>%1</h3>\n").arg(body); break;
        case HelpBlock::Kind::ListItem: html += QStringLiteral("<li>%1</li>\n").arg(body); break;
        case HelpBlock::Kind::Display:
            html += QStringLiteral("<p style=\"margin-left:2em\"><i>%1</i></p>\n").arg(body);
            break;
        }
    }
    if (inList)
        html += QLatin1String("</ul>\n");
    return html;
}

std::optional<quint32> contextOfAnchor(const QString& anchor)
{
    if (!anchor.startsWith(anchorPrefix()))
        return std::nullopt;
    QString error;
    return parseContextName(anchor.mid(anchorPrefix().size()), &error);
}

QStringList helpSearchDirectories(const QString& workingDirectory,
                                  const QString& applicationDirectory,
                                  const QString& installedDataDirectory)
{
    QStringList candidates{workingDirectory, applicationDirectory, installedDataDirectory};
    if (!applicationDirectory.isEmpty())
        candidates.append(applicationDirectory + QStringLiteral("/../share/ventbox"));
    QStringList dirs;
    for (const QString& dir : candidates) {
        if (dir.isEmpty())
            continue;
        const QString clean = QDir::cleanPath(dir);
        if (!dirs.contains(clean))
            dirs.append(clean);
    }
    return dirs;
}

QStringList helpSearchDirectories(const QString& workingDirectory)
{
    return helpSearchDirectories(workingDirectory, QCoreApplication::applicationDirPath(),
                                 QStringLiteral(VENTBOX_HELP_DATADIR));
}

bool isBareFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(u'/') && !name.contains(u'\\') && !name.contains(QChar(0));
}

QString findHelpFile(const QString& name, const QStringList& dirs)
{
    if (!isBareFileName(name))
        return {};
    for (const QString& dir : dirs) {
        const QFileInfo info(QDir(dir), name);
        if (info.isFile())
            return info.absoluteFilePath();
    }
    return {};
}

} // namespace platform::help
