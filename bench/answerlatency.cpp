// Answer latency: from a direction-button press to the next ring painted, over many answers
// in one main window. Prints the latencies' median, 99th percentile and maximum in ms.
#include "app/frmMain.h"
#include "app/ringimage.h"
#include "app/settings.h"
#include "paintwatch.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>

using namespace mitoon;

int main(int argc, char *argv[])
{
    const int answers = argc > 1 ? std::atoi(argv[1]) : 1000;
    QApplication app(argc, argv);
    fonts::registerSubstitutions();
    QTemporaryDir dir;
    Settings settings(dir.filePath(QStringLiteral("settings.ini")));
    frmMain window(settings);
    window.Form_Load();
    window.resize(443, 545);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return 1;
    PaintWatch watch;
    window.randort->installEventFilter(&watch);

    std::vector<double> latencies;
    QElapsedTimer timer;
    while (int(latencies.size()) < answers) {
        if (window.start->isEnabled()) {
            QTest::mouseClick(window.start, Qt::LeftButton);
            QCoreApplication::processEvents();
            // Start each test at a size that stays visible for many answers.
            window.setRingWidth(5000);
            window.setRingHeight(500);
        }
        const int shown = int(*window.test().houkou().toNumber());
        // Six right answers, then two wrong ones that end the test; the next one starts anew.
        const int answer = latencies.size() % 8 >= 6 ? shown % 8 + 1 : shown;
        auto *button = static_cast<QPushButton *>(window.control(buttonAccepting(answer).control));
        watch.painted = false;
        timer.start();
        QTest::mouseClick(button, Qt::LeftButton);
        while (!watch.painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        latencies.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) { return latencies[size_t(q * (latencies.size() - 1))]; };
    std::printf("answers=%zu median_ms=%.3f p99_ms=%.3f max_ms=%.3f\n", latencies.size(), at(0.5),
                at(0.99), latencies.back());
    return 0;
}
