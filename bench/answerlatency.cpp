// Answer latency: from an answer to the next ring painted, over many answers: the direction
// buttons of the main window, or with "precise" the keypad answers of 精密測定 in its full-screen
// window. Prints the latencies' median, 99th percentile and maximum in ms.
#include "app/frmMain.h"
#include "app/ringimage.h"
#include "app/settings.h"
#include "paintwatch.h"
#include "platform/fonts.h"
#include "precise/frmSeimitu.h"
#include "precise/ringcanvas.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace mitoon;

// The keypad digit of each answer: 5 for "見えない" and the digits around it by orientation.
constexpr int kKeypadKey[] = {Qt::Key_5, Qt::Key_8, Qt::Key_9, Qt::Key_6, Qt::Key_3,
                              Qt::Key_2, Qt::Key_1, Qt::Key_4, Qt::Key_7};

namespace {

void printLatencies(std::vector<double> latencies)
{
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) { return latencies[size_t(q * (latencies.size() - 1))]; };
    std::printf("answers=%zu median_ms=%.3f p99_ms=%.3f max_ms=%.3f\n", latencies.size(), at(0.5),
                at(0.99), latencies.back());
}

// 精密測定 at 300 cm on a 0.25 mm pitch: every answer is a key of the numeric keypad, half of
// them right, and a finished run starts the next one.
int preciseLatencies(int answers, Settings &settings, frmMain &main)
{
    settings.storePixelPitchMm(0.25);
    frmSeimitu *window = frmSeimitu::showFor(&main, main.test(), settings, 300);
    if (!QTest::qWaitFor([window] { return window->isActiveWindow(); }))
        return 1;
    PaintWatch watch;
    window->canvas->installEventFilter(&watch);
    std::vector<double> latencies;
    QElapsedTimer timer;
    int pressed = 0;
    while (int(latencies.size()) < answers) {
        if (window->session().stage() != precise::PreciseSession::Stage::Rings) {
            if (window->session().stage() == precise::PreciseSession::Stage::Result)
                window->againButton->click();
            window->startButton->click();
            QCoreApplication::processEvents();
        }
        const int shown = window->session().run()->currentTrial().orientation;
        const int answer = (++pressed % 2) ? shown : precise::kCannotSee;
        watch.painted = false;
        timer.start();
        QTest::keyClick(window, Qt::Key(kKeypadKey[answer]), Qt::KeypadModifier);
        // The last answer of a run shows the result, not a ring: it is not timed.
        if (window->session().stage() != precise::PreciseSession::Stage::Rings)
            continue;
        while (!watch.painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        latencies.push_back(timer.nsecsElapsed() / 1e6);
    }
    printLatencies(std::move(latencies));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const int answers = argc > 1 ? std::atoi(argv[1]) : 1000;
    const bool precise = argc > 2 && std::strcmp(argv[2], "precise") == 0;
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
    if (precise)
        return preciseLatencies(answers, settings, window);
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
    printLatencies(std::move(latencies));
    return 0;
}
