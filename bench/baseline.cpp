// The baseline of the start-up and memory benchmarks: a bare Qt Widgets program that opens
// one window and reports its first paint exactly as ミトーン does.
#include "platform/startupprobe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("baseline")));
    window.resize(433, 433);
    window.show();
    mitoon::probeFirstPaint(&window);
    return app.exec();
}
