#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTime>

#include <optional>
#include <variant>

// The record file read as data for the graph and the CSV export: each record line becomes a
// date, a time and the decimal acuity of each eye; every other line is skipped with its reason.
//
// A record line is `#2026-12-09#,"12:17:01","1.1","0.3"`, read strictly:
//  - exactly four fields, separated by commas outside double quotation marks;
//  - the date between number signs as yyyy-MM-dd, a real calendar day;
//  - the time in double quotation marks as HH:mm:ss on the 24-hour clock;
//  - each eye either empty (not measured) or a quoted decimal number greater than 0: ASCII
//    digits with at most one decimal mark, which is '.' or ',' (the result is written in the
//    locale's number format, "0,8" where the locale has a decimal comma; no record ever holds
//    a thousands separator). `""` also counts as not measured: it is an empty text. No signs,
//    exponents, spaces or other digits.
namespace mitoon::recordseries {

enum class SkipReason {
    Blank,         // empty, or nothing but spaces and tabs
    Header,        // the quoted header line a clear writes
    NotARecord,    // does not begin with a date between number signs, or an unclosed quote
    FieldCount,    // a date, but not four fields
    BadDate,       // no such day, or not yyyy-MM-dd
    BadTime,       // not "HH:mm:ss" on the 24-hour clock
    BadLeftValue,  // the left eye's field is neither empty nor a decimal number above 0
    BadRightValue, // the same for the right eye
};

// "見出しの行" and so on: what the window says about a skipped line.
QString reasonText(SkipReason reason);

struct AcuityRecord
{
    QDate date;
    QTime time;
    std::optional<double> hidari; // left eye, decimal acuity
    std::optional<double> migi;   // right eye
    int lineNumber = 0;           // from 1, in the record file

    // Seconds on one scale for every record, for ordering and the time axis.
    qint64 moment() const;
};

enum class Eye { Hidari, Migi };

// The eye's decimal acuity in `record`, or nothing when it was not measured.
inline const std::optional<double> &acuity(const AcuityRecord &record, Eye eye)
{
    return eye == Eye::Hidari ? record.hidari : record.migi;
}

struct SkippedLine
{
    int lineNumber = 0; // from 1
    SkipReason reason = SkipReason::NotARecord;
};

struct RecordSeries
{
    QList<AcuityRecord> records; // in the order of the file
    QList<SkippedLine> skipped;  // in the order of the file
};

// "記録 3,650 件（左目 3,650 点、右目 3,649 点）。記録ではない行 2 行を飛ばしました。"
QString summaryText(const RecordSeries &series);
// The first `limit` skipped lines, one a line: "3 行目: 日付が読めない行".
QString skippedText(const RecordSeries &series, int limit);
// "2026-12-09 12:17:01　左目 1.1（logMAR -0.04）"
QString pointText(const AcuityRecord &record, Eye eye);

// One line, without its line end.
std::variant<AcuityRecord, SkipReason> parseLine(QStringView line);

// Every line of the file's decoded text; lines end at CR or CR LF.
RecordSeries parse(QStringView text);
RecordSeries parse(const QStringList &lines);

// A value as the window and the CSV file show it: '.' as decimal mark, no digits beyond those
// that tell the number apart, at least one decimal ("1.0", "0.8", "1.25").
QString acuityText(double acuity);
// The value as written in the CSV file: "1", "0.8", "1.25".
QString plainNumber(double acuity);
// logMAR, -log10 of the decimal acuity, to two decimals: "0.10", "0.00", "-0.08" (never "-0.00").
QString logMarText(double acuity);

} // namespace mitoon::recordseries
