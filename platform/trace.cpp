#include "trace.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QSet>
#include <QWidget>

#include <ctime>

namespace platform {

namespace {

class TraceFilter : public QObject {
public:
    explicit TraceFilter(const QString& path) : file_(path)
    {
        file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text
                   | QIODevice::Unbuffered);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::Show && type != QEvent::Paint)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        const QWidget* window = widget->window();
        const char* what = type == QEvent::Show ? "shown" : "painted";
        if (type == QEvent::Show && widget != window)
            return false;
        const QString key = QLatin1String(what) + window->objectName();
        if (seen_.contains(key))
            return false;
        seen_.insert(key);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long long ns = static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
        file_.write(QStringLiteral("%1 %2 %3\n")
                        .arg(QLatin1String(what), window->objectName())
                        .arg(ns)
                        .toUtf8());
        return false;
    }

private:
    QFile file_;
    QSet<QString> seen_;
};

} // namespace

void installTraceFromEnvironment()
{
    const QString path = qEnvironmentVariable("VENTBOX_TRACE");
    if (path.isEmpty())
        return;
    qApp->installEventFilter(new TraceFilter(path));
}

} // namespace platform
