// Fuzzes the reading of the record file for the graph and the CSV export: whatever bytes are in
// the file, every line is either a record or skipped with a reason, every record holds sound
// values and is written back to the same record, and the CSV file has one line per record.
#include "fileio/shiftjis.h"
#include "graph/csvexport.h"
#include "graph/recordseries.h"
#include "records/recordformat.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace mitoon;

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
    return 0;
}
