#include "platform/startupprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace mitoon {

namespace {

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

class FirstPaintFilter : public QObject
{
    Q_OBJECT
public:
    explicit FirstPaintFilter(QWidget *window) : QObject(window), window_(window) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!done_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->window() == window_) {
            done_ = true;
            // Report once the painted frame has been handed to the window system.
            QTimer::singleShot(0, this, [this] {
                timespec now{};
                clock_gettime(CLOCK_REALTIME, &now);
                const QSize size = window_->size();
                std::printf("first_paint_ns=%lld rss_kb=%ld window=%dx%d\n",
                            (long long)now.tv_sec * 1000000000LL + now.tv_nsec, residentKilobytes(),
                            size.width(), size.height());
                std::fflush(stdout);
                const QString smaps = qEnvironmentVariable("MITOON_PROBE_SMAPS");
                if (!smaps.isEmpty()) {
                    QFile from(QStringLiteral("/proc/self/smaps"));
                    QFile to(smaps);
                    if (from.open(QIODevice::ReadOnly) && to.open(QIODevice::WriteOnly))
                        to.write(from.readAll());
                }
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    QWidget *window_;
    bool done_ = false;
};

} // namespace

void probeFirstPaint(QWidget *window)
{
    if (qEnvironmentVariableIsEmpty("MITOON_PROBE_FIRST_PAINT"))
        return;
    qApp->installEventFilter(new FirstPaintFilter(window));
}

} // namespace mitoon

#include "startupprobe.moc"
