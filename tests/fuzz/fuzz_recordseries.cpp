// Fuzzes the reading of the files the graph shows and the CSV export: whatever bytes are in the
// record file, every line is either a record or skipped with a reason, every record holds sound
// values and is written back to the same record, and the CSV file has one line per record.
// The same bytes, read as UTF-8, are the runs file of 精密測定: every line is a run or counted as
// skipped, every run holds sound values and is written back to the same run, and the graph
// has one point and one text per run.
#include "fileio/shiftjis.h"
#include "graph/csvexport.h"
#include "graph/graphseries.h"
#include "graph/recordseries.h"
#include "precise/preciserecords.h"
#include "records/recordformat.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace mitoon;

namespace {

// The lines precise::parseRuns looks at: split at LF, a CR before it taken off, no last empty
// line.
qsizetype runsFileLines(QStringView text)
{
    if (text.startsWith(QChar(0xfeff)))
        text = text.mid(1);
    if (text.isEmpty())
        return 0;
    return text.count(u'\n') + (text.endsWith(u'\n') ? 0 : 1);
}

void checkRuns(QByteArrayView bytes)
{
    const QString text = QString::fromUtf8(bytes);
    const precise::StoredRuns stored = precise::parseRuns(text);
    const qsizetype lines = runsFileLines(text);
    // Only the header line is neither a run nor skipped.
    const qsizetype counted = stored.runs.size() + stored.skipped;
    if (stored.skipped < 0 || (counted != lines && counted + 1 != lines))
        std::abort();

    for (const precise::StoredRun &run : stored.runs) {
        const precise::PreciseResult &result = run.result;
        if (!run.finished.isValid() || result.trials <= 0 || !std::isfinite(result.decimal) ||
            result.decimal <= 0 || !(result.lowLogMar <= result.logMar) ||
            !(result.logMar <= result.highLogMar))
            std::abort();
        // The run as 精密測定 writes it reads back as the same run: its line is what it was.
        const QString line = QString::fromUtf8(precise::runLine(run)).chopped(2);
        const std::optional<precise::StoredRun> again = precise::parseRunLine(line);
        if (!again || again->finished != run.finished || again->result.eye != result.eye ||
            again->result.limit != result.limit || again->uncalibrated != run.uncalibrated ||
            QString::fromUtf8(precise::runLine(*again)).chopped(2) != line)
            std::abort();
        if (precisePointText(run).isEmpty())
            std::abort();
    }

    const GraphSeries series(recordseries::RecordSeries{}, stored.runs);
    size_t points = 0;
    for (const SeriesId id : kAllSeries) {
        const std::vector<GraphPoint> &list = series.points(id);
        points += list.size();
        for (size_t i = 0; i < list.size(); ++i)
            if ((i > 0 && list[i - 1].moment > list[i].moment) ||
                series.text({id.eye, int(i), id.kind}).isEmpty())
                std::abort();
    }
    if (points != size_t(stored.runs.size()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = recordformat::splitLines(shiftjis::decode(bytes));
    const recordseries::RecordSeries series = recordseries::parse(lines);
    if (series.records.size() + series.skipped.size() != lines.size())
        std::abort();

    for (const recordseries::AcuityRecord &record : series.records) {
        if (!record.date.isValid() || !record.time.isValid())
            std::abort();
        for (const auto &value : {record.hidari, record.migi})
            if (value && (!std::isfinite(*value) || *value <= 0))
                std::abort();
        // The record as the program writes it reads back as the same record.
        const QString again = QString::fromLatin1(recordformat::recordLine(
            QDateTime(record.date, record.time, Qt::UTC),
            record.hidari ? recordseries::plainNumber(*record.hidari) : QString(),
            record.migi ? recordseries::plainNumber(*record.migi) : QString()));
        const auto parsed = recordseries::parseLine(again.chopped(2));
        const auto *same = std::get_if<recordseries::AcuityRecord>(&parsed);
        if (!same || same->date != record.date || same->time != record.time ||
            same->hidari != record.hidari || same->migi != record.migi)
            std::abort();
    }

    // A header line, then one line of six fields per record.
    const QByteArray csv = csvexport::csvBytes(series.records);
    if (csv.count("\r\n") != series.records.size() + 1 ||
        csv.count(',') != 5 * (series.records.size() + 1))
        std::abort();

    checkRuns(bytes);
    return 0;
}
