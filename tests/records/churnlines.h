#pragma once

#include "records/recordformat.h"

#include <QByteArray>
#include <QList>
#include <QRegularExpression>

#include <optional>

// The lines the crash test writes: ordinary record lines whose left-eye field counts up, so a
// lost, doubled or broken line shows.
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

} // namespace mitoon::testing::churn
