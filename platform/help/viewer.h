#pragma once
// The help viewer ventbox-help: a window around a QTextBrowser that shows
// the topics of a help file. The file is Markdown; a line
// "<!-- topic 1 -->" starts the topic of help context 1 ("<!-- topic
// obsah -->" the contents), whose first line is its title, and a link
// "[text](1)" leads to that topic. resources/BAS.HLP says the same.
//
// ventbox starts `ventbox-help FILE COMMAND DATA` in its own working
// directory. One viewer runs per user: a second start hands its request to
// the running viewer over a local socket and ends.

#include <QColor>
#include <QLocalServer>
#include <QPalette>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class QPushButton;
class QTextBrowser;

namespace platform::help {

// What the viewer is asked to show. Command "1" shows the topic of help
// context `data`, command "3" the contents.
struct HelpRequest {
    QString directory; // the requester's working directory, looked in first
    QString file;      // a bare file name, e.g. "BAS.HLP"
    QString command;
    QString data;
};

// The contrast ratio of two colours as the WCAG defines it: from 1 (the
// same luminance) to 21 (black on white).
[[nodiscard]] double contrast(const QColor& a, const QColor& b);

// The viewer follows the desktop's theme, but a theme's link colours may be
// hard to read on its page colour (a mid blue on a dark page): this gives
// `palette` with each link colour moved towards white on a dark page, or
// black on a light one, until it stands at least 4.5 : 1 against the page.
// Link colours that already do are left as they are.
[[nodiscard]] QPalette readableLinks(QPalette palette);

class HelpBrowser;

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    HelpViewer();

    // Shows what the request asks for, or what went wrong, and brings the
    // window to the front.
    void request(const HelpRequest& request);
    QTextBrowser* browser() const;

    // What ventbox-help does with its request: hands it to the viewer
    // listening under `server` and returns none, or returns a new viewer
    // that shows it and takes the requests that later starts forward. A
    // viewer that cannot take its lock or listen still shows its request,
    // and warns why.
    static std::unique_ptr<HelpViewer> start(const HelpRequest& request, const QString& server);

    // Takes the requests that forward() sends under `server`.
    bool listen(const QString& server);
    // Hands the request to the viewer listening under `server`, if one does.
    static bool forward(const QString& server, const HelpRequest& request);
    // $VENTBOX_HELP_SERVER if set, else one name per user.
    static QString serverName();

    // Where a help file is looked for, in this order: the requester's
    // directory, beside the programs, and the installed data directory
    // (share/ventbox beside the programs' bin directory, or wherever the
    // build's GNUInstallDirs put it, relative to the programs).
    static QStringList searchPath(const QString& directory);

private:
    void load(const HelpRequest& request);
    void showError(const QString& message);

    HelpBrowser* browser_ = nullptr;
    QPushButton* contents_ = nullptr;
    QLocalServer server_;
    QString file_; // the file name asked for last
    QString path_; // where it was found
};

} // namespace platform::help
