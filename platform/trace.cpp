#include "trace.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QSet>
#include <QWidget>

#include <ctime>
#include <memory>

namespace platform {

namespace {

class TraceFilter : public QObject {
public:
    explicit TraceFilter(std::unique_ptr<QFile> file) : file_(std::move(file)) { }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || (type != QEvent::Show && type != QEvent::Paint)
            || (type == QEvent::Show && !widget->isWindow()))
            return false;
        const QByteArray line = QByteArray(type == QEvent::Show ? "shown " : "painted ")
            + widget->window()->objectName().toUtf8();
        if (seen_.contains(line))
            return false;
        seen_.insert(line);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long long ns = static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
        file_->write(line + ' ' + QByteArray::number(ns) + '\n');
        return false;
    }

private:
    std::unique_ptr<QFile> file_;
    QSet<QByteArray> seen_;
};

} // namespace

void installTraceFromEnvironment()
{
    const QString path = qEnvironmentVariable("VENTBOX_TRACE");
    if (path.isEmpty())
        return;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        qWarning("%s: cannot open the trace file %s (VENTBOX_TRACE): %s",
                 qUtf8Printable(QCoreApplication::applicationName()), qUtf8Printable(path),
                 qUtf8Printable(file->errorString()));
        return;
    }
    qApp->installEventFilter(new TraceFilter(std::move(file)));
}

} // namespace platform
