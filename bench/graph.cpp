// The graph window "記録のグラフ" with a record file of N lines (argument 1, 3650 by default)
// spread over ten years: from the File menu's command until the graph is painted, against
// reading and decoding the same file alone (RecordFile::readText), interleaved over several
// rounds (argument 2, 7 by default), each round in a window created anew. Then, in the last
// window, from a mouse move over the plot until the graph is painted again.
#include "app/menucommands.h"
#include "graph/acuitygraph.h"
#include "graph/frmGurafu.h"
#include "platform/drivepath.h"
#include "platform/fonts.h"
#include "records/recordfile.h"
#include "records/recordformat.h"
#include "records/recordtext.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace mitoon;

namespace {

// Notes a paint event of the graph widget, whichever window it is in.
class GraphPaintWatch : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && qobject_cast<AcuityGraph *>(watched))
            painted = true;
        return false;
    }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QByteArray recordFile(int lines)
{
    QRandomGenerator random(12);
    QByteArray bytes = recordformat::headerLine();
    bytes.reserve(qsizetype(lines) * 38 + 64);
    const QDateTime first(QDate(2016, 12, 10), QTime(8, 0));
    const qint64 tenYears = qint64(3650) * 86400;
    int left = 10, right = 12; // tenths
    for (int i = 0; i < lines; ++i) {
        left = std::clamp(left + int(random.bounded(3)) - 1, 1, 20);
        right = std::clamp(right + int(random.bounded(3)) - 1, 1, 20);
        const auto text = [](int tenths) {
            return tenths % 10 ? QString::number(tenths / 10.0, 'f', 1)
                               : QString::number(tenths / 10);
        };
        bytes +=
            recordformat::recordLine(first.addSecs(tenYears * i / lines), text(left), text(right));
    }
    return bytes;
}

} // namespace

int main(int argc, char *argv[])
{
    const int lines = argc > 1 ? std::atoi(argv[1]) : 3650;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 7;
    QApplication app(argc, argv);
    fonts::registerSubstitutions();
    drive::provision();
    const RecordFile file = RecordFile::standard();
    {
        const QByteArray bytes = recordFile(lines);
        QFile out(file.localPath());
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            return 1;
    }
    GraphPaintWatch watch;
    app.installEventFilter(&watch);

    std::vector<double> reads, windows;
    QElapsedTimer timer;
    for (int round = 0; round < rounds; ++round) {
        timer.start();
        const RecordText::Whole read = RecordText(file).whole();
        reads.push_back(timer.nsecsElapsed() / 1e6);
        if (!read.outcome.ok() || read.text.size() < lines * 30)
            return 1;

        if (frmGurafu *old = frmGurafu::loaded()) {
            old->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QCoreApplication::processEvents();
        watch.painted = false;
        timer.restart();
        menucommands::mnuFileGurafu(nullptr);
        while (!watch.painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        windows.push_back(timer.nsecsElapsed() / 1e6);
    }
    frmGurafu *window = frmGurafu::loaded();
    if (!window || window->gurafu->graph().series().records.size() != lines)
        return 1;

    // The mouse across the plot, from point to point: each move repaints the ring.
    std::vector<double> hovers;
    const QRectF plot = window->gurafu->plotGeometry().plot;
    for (int i = 0; i < 40; ++i) {
        const QPoint at(int(plot.left() + plot.width() * (i + 0.5) / 40), int(plot.center().y()));
        watch.painted = false;
        timer.restart();
        QTest::mouseMove(window->gurafu, at);
        // A move that changes nothing paints nothing; it took as long as it took.
        QCoreApplication::processEvents();
        while (window->gurafu->hovered() && !watch.painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        hovers.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("lines=%d window_ms=%.3f window_first_ms=%.3f read_ms=%.3f hover_median_ms=%.3f "
                "hover_max_ms=%.3f\n",
                lines, median(windows), windows.front(), median(reads), median(hovers),
                *std::max_element(hovers.begin(), hovers.end()));
    return 0;
}
