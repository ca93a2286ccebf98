// The yardstick for the program's start-up: about the least a Qt Widgets
// program does before its first window is painted (an application object
// and one label). Built with the program's flags. When VENTBOX_TRACE names a
// file it appends "shown minimal <ns>" and "painted minimal <ns>"
// (CLOCK_MONOTONIC) there, from an application-wide event filter as the
// program's own trace does.

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>

#include <ctime>

namespace {

class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QString& path) : file_(path)
    {
        file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text
                   | QIODevice::Unbuffered);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool show = event->type() == QEvent::Show && !shown_;
        const bool paint = event->type() == QEvent::Paint && !painted_;
        if ((show || paint) && watched->isWidgetType()) {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            const long long ns = static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
            file_.write(QByteArray(show ? "shown" : "painted") + " minimal "
                        + QByteArray::number(ns) + "\n");
            (show ? shown_ : painted_) = true;
        }
        return false;
    }

private:
    QFile file_;
    bool shown_ = false;
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString trace = qEnvironmentVariable("VENTBOX_TRACE");
    if (!trace.isEmpty())
        app.installEventFilter(new FirstPaint(trace));
    QLabel label(QStringLiteral("Hello"));
    label.setObjectName(QStringLiteral("minimal"));
    label.show();
    return QApplication::exec();
}
