// The baseline of the start-up and memory benchmarks: a bare Qt Widgets program that runs the
// start-up's busy wait, then opens one window as large as ミトーン's main window on its first
// start (443 × 540 pixels inside the frame); the same preloaded probe as ミトーン's reports its
// first paint. The wait is the same code, run in the same process, so each run of the baseline pays
// the wait under the very conditions of that run.
#include "app/Module1.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    mitoon::Module1::busyWait();
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("baseline")));
    window.resize(443, 540);
    window.show();
    return app.exec();
}
