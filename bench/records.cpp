// The records window with a 100,000-line record file: from the focus gain of its text box until
// the text is on view (and until the last line is in), against decoding the same bytes alone
// with the Shift-JIS codec. Then the save:
// appending a record line with its flush to disk, many times.
#include "app/menucommands.h"
#include "fileio/shiftjis.h"
#include "paintwatch.h"
#include "platform/drivepath.h"
#include "platform/fonts.h"
#include "records/frmHyouji.h"
#include "records/progressiveloader.h"
#include "records/recordfile.h"
#include "records/recordformat.h"
#include "records/recordtext.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>

using namespace mitoon;

namespace {

double percentile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    return values[size_t(q * double(values.size() - 1))];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    fonts::registerSubstitutions();
    drive::provision();
    const RecordFile file = RecordFile::standard();

    // The window opens on a file with its header only; then the long file arrives and the box
    // gains the focus: the first load of the long file.
    file.clear();
    menucommands::mnuFileOpen();
    frmHyouji *window = frmHyouji::loaded();
    if (!window || !QTest::qWaitForWindowExposed(window))
        return 1;

    QByteArray bytes = recordformat::headerLine();
    for (int i = 0; i < 100000; ++i)
        bytes += recordformat::recordLine(
            QDateTime(QDate(2006, 6, 9), QTime(0, 0).addSecs(i % 86400)), "0.8", "1.2");
    {
        QFile out(file.localPath());
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            return 1;
    }

    // The baseline: decoding the same bytes, nothing else.
    QElapsedTimer timer;
    timer.start();
    const QString decoded = shiftjis::decode(bytes);
    const double decodeMs = timer.nsecsElapsed() / 1e6;
    if (decoded.size() < bytes.size() / 2)
        return 1;

    // Reading, decoding and splitting the whole file the way the window does, without a window.
    timer.restart();
    RecordText text(file);
    if (!text.rewind().ok())
        return 1;
    for (RecordText::Piece piece; !piece.last;) {
        piece = text.next();
        if (!piece.outcome.ok())
            return 1;
    }
    const double readMs = timer.nsecsElapsed() / 1e6;

    PaintWatch watch;
    window->Text->viewport()->installEventFilter(&watch);
    QCoreApplication::processEvents();
    watch.painted = false;
    timer.restart();
    window->Text_GotFocus();
    while (!watch.painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double windowMs = timer.nsecsElapsed() / 1e6;
    // The rest of the lines follow while the window stays usable.
    while (window->loader()->loading())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double allInMs = timer.nsecsElapsed() / 1e6;
    if (window->Text->blockCount() < 100001)
        return 1;

    std::vector<double> saves;
    for (int i = 0; i < 300; ++i) {
        timer.restart();
        if (!file.appendRecord(QStringLiteral("0.8"), QStringLiteral("1.2")).ok())
            return 1;
        saves.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("window_ms=%.3f all_lines_ms=%.3f read_ms=%.3f decode_ms=%.3f save_median_ms=%.3f "
                "save_p99_ms=%.3f\n",
                windowMs, allInMs, readMs, decodeMs, percentile(saves, 0.5),
                percentile(saves, 0.99));
    return 0;
}
