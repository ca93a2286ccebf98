#include "helpviewer.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLocalSocket>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace platform::help {

namespace {

// A client that sends this much without ending its line is not one of ours.
constexpr qint64 maxMessageBytes = 64 * 1024;

QString windowTitlePrefix()
{
    return QStringLiteral("Nápověda - ");
}

} // namespace

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Nápověda"));
    resize(600, 480);

    browser_ = new QTextBrowser(this);
    browser_->setOpenLinks(false);
    contentsButton_ = new QPushButton(QStringLiteral("&Obsah"), this);
    backButton_ = new QPushButton(QStringLiteral("&Zpět"), this);
    auto* closeButton = new QPushButton(QStringLiteral("Za&vřít"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contentsButton_);
    buttons->addWidget(backButton_);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);

    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpViewer::onAnchorClicked);
    connect(contentsButton_, &QPushButton::clicked, this, &HelpViewer::onContents);
    connect(backButton_, &QPushButton::clicked, this, &HelpViewer::onBack);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(&server_, &QLocalServer::newConnection, this, &HelpViewer::onNewConnection);
    updateButtons();
}

bool HelpViewer::listen(const QString& name, QString* error)
{
    if (server_.listen(name))
        return true;
    *error = server_.errorString();
    return false;
}

HelpReply HelpViewer::handle(const HelpRequest& request)
{
    ++handled_;
    const QString name = request.file;
    if (request.command != commandContext && request.command != commandContents) {
        showError(QStringLiteral("Neznámý příkaz nápovědy %1. Nápověda umí příkaz 1 "
                                 "(téma podle čísla kontextu) a příkaz 3 (obsah).")
                      .arg(request.command));
    } else if (name.isEmpty()) {
        showError(QStringLiteral("Není zadán soubor nápovědy."));
    } else if (!isBareFileName(name)) {
        showError(
            QStringLiteral("Soubor nápovědy „%1“ se hledá jen podle jména, bez cesty.").arg(name));
    } else {
        const QStringList dirs = helpSearchDirectories(request.workingDirectory);
        const QString path = findHelpFile(name, dirs);
        QString failure;
        if (path.isEmpty()) {
            fileLoaded_ = false;
            path_.clear();
            failure = QStringLiteral("Soubor nápovědy „%1“ nebyl nalezen. Hledán v adresářích: %2.")
                          .arg(name, dirs.join(QStringLiteral(", ")));
        } else {
            failure = load(path, name);
        }
        if (failure.isEmpty() && request.command == commandContents) {
            if (const HelpTopic* contents = file_.contents())
                showTopic(*contents, true);
            else
                failure = QStringLiteral("Soubor nápovědy „%1“ nemá obsah.").arg(name);
        } else if (failure.isEmpty()) {
            const HelpTopic* topic =
                request.data == contentsContext ? nullptr : file_.topic(request.data);
            if (topic)
                showTopic(*topic, true);
            else
                failure = QStringLiteral("V souboru nápovědy „%1“ není téma pro kontext %2.")
                              .arg(name)
                              .arg(request.data);
        }
        if (!failure.isEmpty())
            showError(failure);
    }
    bringToFront();
    return state();
}

HelpReply HelpViewer::handleFailure(const QString& message)
{
    ++handled_;
    showError(message);
    bringToFront();
    return state();
}

HelpReply HelpViewer::state() const
{
    HelpReply reply;
    reply.ok = error_.isEmpty() && shown_ != QLatin1String("none");
    reply.pid = QCoreApplication::applicationPid();
    reply.shown = shown_;
    reply.context = context_;
    reply.title = title_;
    reply.windowTitle = windowTitle();
    reply.path = path_;
    reply.error = error_;
    reply.text = browser_->toPlainText();
    reply.visible = isVisible();
    reply.handled = handled_;
    return reply;
}

QString HelpViewer::load(const QString& path, const QString& name)
{
    const bool samePath = path == path_;
    fileLoaded_ = false;
    path_ = path;
    if (!samePath) {
        // The topics shown so far belong to another file.
        history_.clear();
        shown_ = QStringLiteral("none");
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Soubor nápovědy „%1“ nelze přečíst (%2).").arg(name, path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("Soubor nápovědy „%1“ nelze přečíst (%2).").arg(name, path);
    ParseResult parsed = parseHelpFile(bytes);
    if (!parsed.ok()) {
        const ParseError& e = *parsed.error;
        return e.line > 0
            ? QStringLiteral("Soubor nápovědy „%1“ je chybný, řádek %2: %3.")
                  .arg(name)
                  .arg(e.line)
                  .arg(e.message)
            : QStringLiteral("Soubor nápovědy „%1“ je chybný: %2.").arg(name, e.message);
    }
    file_ = std::move(parsed.file);
    fileLoaded_ = true;
    return {};
}

void HelpViewer::showTopic(const HelpTopic& topic, bool remember)
{
    if (remember && shown_ != QLatin1String("error") && shown_ != QLatin1String("none")
        && context_ != topic.context)
        history_.append(context_);
    shown_ =
        topic.context == contentsContext ? QStringLiteral("contents") : QStringLiteral("topic");
    context_ = topic.context;
    title_ = topic.title;
    error_.clear();
    browser_->setHtml(topicToHtml(file_, topic));
    setWindowTitle(windowTitlePrefix() + topic.title);
    updateButtons();
}

void HelpViewer::showError(const QString& message)
{
    shown_ = QStringLiteral("error");
    context_ = 0;
    title_.clear();
    error_ = message;
    QString html = QStringLiteral("<h2>Chyba</h2>\n<p>%1</p>\n").arg(message.toHtmlEscaped());
    if (fileLoaded_ && file_.contents())
        html += QStringLiteral("<p><a href=\"topic:obsah\">Obsah nápovědy</a></p>\n");
    browser_->setHtml(html);
    setWindowTitle(windowTitlePrefix() + QStringLiteral("chyba"));
    updateButtons();
}

void HelpViewer::updateButtons()
{
    contentsButton_->setEnabled(fileLoaded_ && file_.contents());
    backButton_->setEnabled(fileLoaded_ && !history_.isEmpty());
}

void HelpViewer::bringToFront()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void HelpViewer::onNewConnection()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Data may have arrived with the connection.
        onReadyRead(socket);
    }
}

void HelpViewer::onReadyRead(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine();
        const auto message = decodeMessage(line);
        HelpReply reply;
        if (!message) {
            reply = state();
            reply.ok = false;
            reply.error = QStringLiteral("Nesrozumitelná zpráva pro nápovědu.");
        } else if (message->kind == ViewerMessage::Kind::State) {
            reply = state();
        } else {
            reply = handle(message->request);
        }
        if (socket->state() == QLocalSocket::ConnectedState)
            socket->write(encodeReply(reply));
    }
    if (socket->bytesAvailable() > maxMessageBytes)
        socket->abort();
}

void HelpViewer::onAnchorClicked(const QUrl& url)
{
    const auto context = contextOfAnchor(url.toString());
    if (!context || !fileLoaded_)
        return;
    if (const HelpTopic* topic = file_.topic(*context))
        showTopic(*topic, true);
}

void HelpViewer::onContents()
{
    if (const HelpTopic* contents = fileLoaded_ ? file_.contents() : nullptr)
        showTopic(*contents, true);
}

void HelpViewer::onBack()
{
    if (!fileLoaded_ || history_.isEmpty())
        return;
    const quint32 previous = history_.takeLast();
    if (const HelpTopic* topic = file_.topic(previous))
        showTopic(*topic, false);
    updateButtons();
}

} // namespace platform::help
