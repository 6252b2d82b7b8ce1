#pragma once

#include "precise/preciserecords.h"
#include "records/recordformat.h"
#include "support/preciseruns.h"

#include <QByteArray>
#include <QList>
#include <QRegularExpression>

#include <optional>

// The lines the crash test writes: ordinary record lines whose left-eye field counts up, so a
// lost, doubled or broken line shows; and beside each record a run of 精密測定 whose number of
// trials is that count, with one trial of that number.
namespace mitoon::testing::churn {

inline QByteArray line(int counter)
{
    return recordformat::recordLine(QDateTime(QDate(2026, 12, 9), QTime(14, 3, 27)),
                                    QString::number(counter), QStringLiteral("1.2"));
}

struct Parsed
{
    bool header = false;
    QList<int> counters;
};

// The file's bytes as an optional header line and whole record lines, or nothing when any
// line is broken or the counters do not follow each other.
inline std::optional<Parsed> parse(const QByteArray &bytes)
{
    static const QRegularExpression record(
        QStringLiteral("^#2026-12-09#,\"14:03:27\",\"(\\d+)\",\"1\\.2\"$"));
    Parsed parsed;
    if (bytes.isEmpty())
        return parsed;
    if (!bytes.endsWith("\r\n"))
        return std::nullopt;
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast(); // what follows the last line end
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray withEnd = lines[i] + '\n';
        if (i == 0 && withEnd == recordformat::headerLine()) {
            parsed.header = true;
            continue;
        }
        if (!lines[i].endsWith('\r'))
            return std::nullopt;
        const auto match = record.match(QString::fromLatin1(lines[i].chopped(1)));
        if (!match.hasMatch())
            return std::nullopt;
        const int counter = match.captured(1).toInt();
        if (!parsed.counters.isEmpty() && counter != parsed.counters.last() + 1)
            return std::nullopt;
        parsed.counters.append(counter);
    }
    return parsed;
}

// The run stored after the record of `counter`, and its one trial.
inline precise::StoredRun run(int counter)
{
    precise::StoredRun run = storedRun(QDateTime(QDate(2026, 12, 10), QTime(21, 3, 5)),
                                       precise::Eye::Left, 0.1, 0.02, 0.18);
    run.result.trials = counter;
    return run;
}

inline std::vector<precise::TrialRecord> trials(int counter)
{
    return {precise::TrialRecord{counter, 0.1, 3.5, 2, 2, true, 900}};
}

// The counters of a runs file (or of its trials file, with `trialsFile`): its header and whole
// lines of rising counters, or nothing when a line is broken, out of order or missing its
// header.
inline std::optional<QList<int>> parseRuns(const QByteArray &bytes, bool trialsFile)
{
    QList<int> counters;
    if (bytes.isEmpty())
        return counters;
    const QByteArray header = trialsFile ? precise::trialsHeader() : precise::runsHeader();
    if (!bytes.startsWith(header) || !bytes.endsWith("\r\n"))
        return std::nullopt;
    QList<QByteArray> lines = bytes.mid(header.size()).split('\n');
    lines.removeLast();
    for (const QByteArray &line : lines) {
        int counter = 0;
        if (trialsFile) {
            const QList<QByteArray> fields = line.split(',');
            if (line + '\n' !=
                precise::trialLines(run(0).finished, trials(fields.value(1).toInt())))
                return std::nullopt;
            counter = fields[1].toInt();
        } else {
            const auto stored = precise::parseRunLine(QString::fromUtf8(line.chopped(1)));
            if (!stored || line + '\n' != precise::runLine(run(stored->result.trials)))
                return std::nullopt;
            counter = stored->result.trials;
        }
        if (!counters.isEmpty() && counter <= counters.last())
            return std::nullopt;
        counters.append(counter);
    }
    return counters;
}

} // namespace mitoon::testing::churn
