#pragma once
// The help viewer's window and its listening socket.

#include "platform/help/helpchannel.h"
#include "platform/help/helpfile.h"

#include <QLocalServer>
#include <QWidget>

class QLocalSocket;
class QPushButton;
class QTextBrowser;
class QUrl;

namespace platform::help {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Listens for requests under `name`; false (with the reason in
    // `error`) when the name is taken or cannot be used.
    bool listen(const QString& name, QString* error);

    // Shows what the request asks for, or what went wrong, brings the
    // window to the front and answers what it shows.
    HelpReply handle(const HelpRequest& request);
    // Shows a failure that is not tied to a file (a bad command line).
    HelpReply handleFailure(const QString& message);
    HelpReply state() const;

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket* socket);
    void onAnchorClicked(const QUrl& url);
    void onContents();
    void onBack();

    // Loads and parses the file; on failure returns the message.
    QString load(const QString& path, const QString& name);
    void showTopic(const HelpTopic& topic, bool remember);
    void showError(const QString& message);
    void updateButtons();
    void bringToFront();

    QLocalServer server_;
    QTextBrowser* browser_ = nullptr;
    QPushButton* contentsButton_ = nullptr;
    QPushButton* backButton_ = nullptr;

    HelpFile file_;
    bool fileLoaded_ = false;
    QString path_;
    QList<quint32> history_;

    QString shown_ = QStringLiteral("none");
    quint32 context_ = 0;
    QString title_;
    QString error_;
    int handled_ = 0;
};

} // namespace platform::help
