// The start-up benchmark's probe, loaded into the program under test with LD_PRELOAD, so that
// the program itself carries no instrumentation. When MITOON_PROBE_FIRST_PAINT is set, the
// first paint of the program's main window (its QMainWindow: the splash screen is none) prints
// the wall-clock time, the resident memory and the window's size at that moment, then ends the
// program; with MITOON_PROBE_SMAPS set to a file name it also copies /proc/self/smaps there, to
// see what is resident. Without the variables it does nothing.
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <ctime>

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

void report(const QWidget *window)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const QSize size = window->size();
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
}

class FirstPaintFilter : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (done_ || event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        QWidget *window = static_cast<QWidget *>(watched)->window();
        if (!qobject_cast<QMainWindow *>(window))
            return false;
        done_ = true;
        // Reported once the painted frame has been handed to the window system.
        QTimer::singleShot(0, this, [window] { report(window); });
        return false;
    }

private:
    bool done_ = false;
};

void install()
{
    if (!qEnvironmentVariableIsEmpty("MITOON_PROBE_FIRST_PAINT"))
        QCoreApplication::instance()->installEventFilter(
            new FirstPaintFilter(QCoreApplication::instance()));
}

} // namespace

// Runs as the application object is made.
Q_COREAPP_STARTUP_FUNCTION(install)
