#include "platform/help/viewer.h"

#include "platform/user.h"
#include "platform/windowframe.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QLockFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>

namespace platform::help {

namespace {

constexpr QLatin1String contentsTopic("obsah");

// Relative luminance as in the WCAG.
double luminance(const QColor& c)
{
    auto linear = [](float v) {
        return v <= 0.04045F ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

} // namespace

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette readableLinks(QPalette palette)
{
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor page = palette.color(group, QPalette::Base);
        // Above this luminance black text has the better contrast.
        const QColor toward = luminance(page) < 0.179 ? QColor(Qt::white) : QColor(Qt::black);
        for (const auto role : {QPalette::Link, QPalette::LinkVisited}) {
            const QColor link = palette.color(group, role);
            QColor readable = link;
            for (int step = 1; contrast(readable, page) < 4.5 && step <= 20; ++step) {
                const float t = static_cast<float>(step) / 20;
                readable = QColor::fromRgbF(link.redF() + t * (toward.redF() - link.redF()),
                                            link.greenF() + t * (toward.greenF() - link.greenF()),
                                            link.blueF() + t * (toward.blueF() - link.blueF()));
            }
            if (readable != link)
                palette.setColor(group, role, readable);
        }
    }
    return palette;
}

// A browser whose pages are the topics of the help file: the source or link
// "2" is the topic of help context 2, "obsah" the contents. Its history
// serves the Back button.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QString text; // of the help file
    std::function<void(const QString& name)> topicMissing;

    // The Markdown of a topic: from its marker line to the next one.
    QString topic(const QString& name) const
    {
        static const QRegularExpression marker(QStringLiteral("^<!-- topic (\\S+) -->[ \\t\\r]*$"),
                                               QRegularExpression::MultilineOption);
        for (auto it = marker.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch start = it.next();
            if (start.captured(1) == name) {
                const QRegularExpressionMatch end = marker.match(text, start.capturedEnd());
                return text.mid(start.capturedEnd(),
                                end.hasMatch() ? end.capturedStart() - start.capturedEnd() : -1);
            }
        }
        return {};
    }

    QVariant loadResource(int type, const QUrl& name) override
    {
        if (type == QTextDocument::MarkdownResource)
            return topic(name.toString());
        return QTextBrowser::loadResource(type, name);
    }

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType /*type*/) override
    {
        if (topic(name.toString()).isEmpty())
            topicMissing(name.toString());
        else
            QTextBrowser::doSetSource(name, QTextDocument::MarkdownResource);
    }
};

HelpViewer::HelpViewer()
{
    setWindowTitle(QStringLiteral("Nápověda"));
    // 600 × 480, or less where the screen's free area cannot hold that with
    // the frame. The window manager places the window when it is first
    // shown; later requests leave it where it is.
    resize(QSize(600, 480).boundedTo(
        screen()->availableGeometry().marginsRemoved(platform::windowFrame(this)).size()));
    browser_ = new HelpBrowser(this);
    contents_ = new QPushButton(QStringLiteral("&Obsah"), this);
    auto* back = new QPushButton(QStringLiteral("&Zpět"), this);
    auto* close = new QPushButton(QStringLiteral("Za&vřít"), this);
    contents_->setEnabled(false);
    back->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents_);
    buttons->addWidget(back);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);

    browser_->topicMissing = [this](const QString& name) {
        showError(name == contentsTopic
                      ? QStringLiteral("Soubor nápovědy „%1“ nemá obsah.").arg(file_)
                      : QStringLiteral("V souboru nápovědy „%1“ není téma pro kontext %2.")
                            .arg(file_, name));
    };
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        setWindowTitle(QStringLiteral("Nápověda - ") + browser_->document()->firstBlock().text());
    });
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(contents_, &QPushButton::clicked, this,
            [this] { browser_->setSource(QUrl(contentsTopic)); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

QTextBrowser* HelpViewer::browser() const
{
    return browser_;
}

void HelpViewer::request(const HelpRequest& request)
{
    load(request);
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void HelpViewer::load(const HelpRequest& request)
{
    file_ = request.file;
    if (request.command != QLatin1String("1") && request.command != QLatin1String("3"))
        return showError(QStringLiteral("Neznámý příkaz nápovědy %1. Nápověda umí příkaz 1 "
                                        "(téma podle čísla kontextu) a příkaz 3 (obsah).")
                             .arg(request.command));
    if (file_.isEmpty())
        return showError(QStringLiteral("Není zadán soubor nápovědy."));
    if (file_ == QLatin1String(".") || file_ == QLatin1String("..")
        || file_.contains(QRegularExpression(QStringLiteral("[/\\\\\\x00]"))))
        return showError(
            QStringLiteral("Soubor nápovědy „%1“ se hledá jen podle jména, bez cesty.").arg(file_));

    const QStringList dirs = searchPath(request.directory);
    const auto dir = std::find_if(dirs.begin(), dirs.end(), [this](const QString& d) {
        return QFileInfo(QDir(d), file_).isFile();
    });
    QFile file(dir == dirs.end() ? QString() : QDir(*dir).filePath(file_));
    if (dir == dirs.end() || !file.open(QIODevice::ReadOnly)) {
        path_.clear();
        browser_->text.clear();
        browser_->clearHistory();
        contents_->setEnabled(false);
        return showError(
            dir == dirs.end()
                ? QStringLiteral("Soubor nápovědy „%1“ nebyl nalezen. Hledán v adresářích: %2.")
                      .arg(file_, dirs.join(QStringLiteral(", ")))
                : QStringLiteral("Soubor nápovědy „%1“ nelze přečíst (%2).")
                      .arg(file_, file.fileName()));
    }
    const bool otherFile = file.fileName() != path_;
    path_ = file.fileName();
    browser_->text = QString::fromUtf8(file.readAll());
    contents_->setEnabled(!browser_->topic(contentsTopic).isEmpty());

    const QUrl topic(request.command == QLatin1String("3") ? contentsTopic : request.data);
    if (browser_->source() == topic)
        browser_->reload(); // the file may have changed
    else
        browser_->setSource(topic);
    // Another file starts a history of its own: Back never leads to a
    // topic of the file before, which would show this file's topic under
    // that one's title.
    if (otherFile)
        browser_->clearHistory();
}

void HelpViewer::showError(const QString& message)
{
    QString html = QStringLiteral("<h2>Chyba</h2><p>%1</p>").arg(message.toHtmlEscaped());
    if (contents_->isEnabled())
        html += QStringLiteral("<p><a href=\"%1\">Obsah nápovědy</a></p>").arg(contentsTopic);
    browser_->setHtml(html);
    setWindowTitle(QStringLiteral("Nápověda - chyba"));
}

// A request travels as one line: a JSON array of its four texts.
std::unique_ptr<HelpViewer> HelpViewer::start(const HelpRequest& request, const QString& server)
{
    // Two viewers starting at once must not both listen, nor one remove the
    // other's socket: the check and the listen happen under a lock (the lock
    // of a killed viewer is taken over). Without the lock or the server this
    // viewer still shows its topic; later requests then start viewers of
    // their own.
    const QString lockPath = server.contains(u'/')
        ? server + QStringLiteral(".lock")
        : QDir::temp().filePath(server + QStringLiteral(".lock"));
    QLockFile lock(lockPath);
    const bool locked = lock.tryLock(5000);
    if (!locked)
        qWarning("ventbox-help: cannot lock %s (error %d): help requests are not shared",
                 qPrintable(QDir::toNativeSeparators(lockPath)), static_cast<int>(lock.error()));
    if (forward(server, request))
        return nullptr;
    if (locked)
        QLocalServer::removeServer(server); // nobody answers: a killed viewer's socket
    auto viewer = std::make_unique<HelpViewer>();
    if (!viewer->listen(server))
        qWarning("ventbox-help: cannot listen as %s: %s", qPrintable(server),
                 qPrintable(viewer->server_.errorString()));
    if (locked)
        lock.unlock();
    viewer->request(request);
    return viewer;
}

bool HelpViewer::listen(const QString& server)
{
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                while (socket->canReadLine()) {
                    const QVariantList fields =
                        QJsonDocument::fromJson(socket->readLine()).array().toVariantList();
                    if (fields.size() == 4)
                        request({fields[0].toString(), fields[1].toString(), fields[2].toString(),
                                 fields[3].toString()});
                }
                if (socket->bytesAvailable() > 64 * 1024)
                    socket->abort(); // no request of ours
            });
        }
    });
    // Only this user may hand it requests.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    return server_.listen(server);
}

bool HelpViewer::forward(const QString& server, const HelpRequest& request)
{
    QLocalSocket socket;
    socket.connectToServer(server);
    if (!socket.waitForConnected(2000))
        return false;
    const QJsonArray fields{request.directory, request.file, request.command, request.data};
    socket.write(QJsonDocument(fields).toJson(QJsonDocument::Compact) + '\n');
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(2000))
            return false;
    }
    return true;
}

QString HelpViewer::serverName()
{
    const QString name = qEnvironmentVariable("VENTBOX_HELP_SERVER");
    return name.isEmpty() ? QStringLiteral("ventbox-help-%1").arg(platform::userId()) : name;
}

QStringList HelpViewer::searchPath(const QString& directory)
{
    const QString programs = QCoreApplication::applicationDirPath();
    QStringList dirs;
    for (const QString& dir :
         {directory, programs, programs + QStringLiteral("/" VENTBOX_HELP_DIR_FROM_PROGRAMS)}) {
        if (!dir.isEmpty())
            dirs.append(QDir::cleanPath(dir));
    }
    dirs.removeDuplicates();
    return dirs;
}

} // namespace platform::help
