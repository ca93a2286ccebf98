#pragma once
// Help requests from the program to the help viewer `ventbox-help`.
//
// The viewer runs once per user and listens on a local socket. A request is
// handed to it over that socket; when no viewer runs, one is started with the
// request on its command line and runs on its own from then on.
//
// Wire format: each message is one line of compact JSON (UTF-8) ended by
// "\n", and the viewer answers each with one line:
//   {"type":"show","file":"BAS.HLP","command":1,"data":2,"dir":"/home/u"}
//   {"type":"state"}          what is the viewer showing now (no change)
// Answer:
//   {"ok":true,"pid":4711,"shown":"topic","context":2,"title":"...",
//    "windowTitle":"...","path":"/.../BAS.HLP","error":"","text":"...",
//    "visible":true,"handled":3}
// The program does not wait for answers; tests and tools read them.
//
// Command line of the viewer:
//   ventbox-help [--dir DIR] [FILE [COMMAND [DATA]]]
// DIR is where FILE is looked for first (default: the current directory);
// COMMAND defaults to 3 (contents), DATA to 0.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform::help {

// Help commands understood by the viewer.
inline constexpr int commandContext = 1;  // data: the help context number
inline constexpr int commandContents = 3; // data: not used

struct HelpRequest {
    QString file; // bare file name, e.g. "BAS.HLP"
    int command = commandContents;
    quint32 data = 0;
    QString workingDirectory; // the requester's; looked in first
};

// A message to the viewer: show something, or tell what it shows.
struct ViewerMessage {
    enum class Kind { Show, State };
    Kind kind = Kind::Show;
    HelpRequest request; // for Show
};

struct HelpReply {
    bool ok = false;
    qint64 pid = 0;      // the viewer's process
    QString shown;       // "contents", "topic", "error" or "none"
    quint32 context = 0; // context of the topic shown (0: contents or none)
    QString title;       // title of the topic shown
    QString windowTitle;
    QString path;  // absolute path of the help file read, if found
    QString error; // what went wrong (Czech), empty when ok
    QString text;  // the window's text as plain text
    bool visible = false;
    int handled = 0; // show requests handled by this viewer so far
};

QByteArray encodeMessage(const ViewerMessage& message);
std::optional<ViewerMessage> decodeMessage(const QByteArray& line);
QByteArray encodeReply(const HelpReply& reply);
std::optional<HelpReply> decodeReply(const QByteArray& line);

// The viewer's command line for a request, and back.
QStringList requestToArguments(const HelpRequest& request);
// `arguments` without the program name. Returns nullopt with `error` set
// for a bad command line; an empty list gives a request with no file.
std::optional<HelpRequest> requestFromArguments(const QStringList& arguments,
                                                const QString& currentDirectory, QString* error);

// The local socket name: $VENTBOX_HELP_SERVER if set, else one per user.
QString serverName();

// The viewer program: beside the running program, else on PATH; empty if
// neither has it.
QString viewerExecutable();

// Hands the request to the running viewer or starts one with it (detached:
// it outlives the caller). An empty working directory means the current
// one. Returns whether the request was handed over; waits at most about a
// second.
bool sendToViewer(const HelpRequest& request);

// The two halves of sendToViewer.
bool forwardToViewer(const HelpRequest& request, int timeoutMs);
bool startViewer(const HelpRequest& request, const QString& executable, qint64* pid = nullptr);

// Sends one message to the running viewer and waits for its answer; nullopt
// when no viewer answers within the time.
std::optional<HelpReply> exchangeWithViewer(const ViewerMessage& message, int timeoutMs,
                                            const QString& server = serverName());

} // namespace platform::help
