#include "graph/recordseries.h"

#include "acuity/visualangle.h"
#include "records/recordformat.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace mitoon::recordseries {

namespace {

constexpr int kFields = 4;

struct Fields
{
    std::array<QStringView, kFields> field;
    int count = 0; // kFields + 1 means "more than four"
    bool unclosedQuote = false;
};

// Splits at commas outside double quotation marks. A quoted value may hold a decimal comma.
Fields splitFields(QStringView line)
{
    Fields fields;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] == u'"') {
            quoted = !quoted;
            continue;
        }
        if (i < line.size() && (quoted || line[i] != u','))
            continue;
        if (fields.count == kFields) {
            fields.count = kFields + 1;
            break;
        }
        fields.field[size_t(fields.count++)] = line.mid(start, i - start);
        start = i + 1;
    }
    fields.unclosedQuote = quoted;
    return fields;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The number written with `count` ASCII digits from `from`, or -1.
int number(QStringView text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        if (!isDigit(text[i]))
            return -1;
        value = value * 10 + (text[i].unicode() - u'0');
    }
    return value;
}

// #yyyy-MM-dd#
QDate parseDate(QStringView field)
{
    if (field.size() != 12 || field[0] != u'#' || field[5] != u'-' || field[8] != u'-' ||
        field[11] != u'#')
        return {};
    const int year = number(field, 1, 4), month = number(field, 6, 2), day = number(field, 9, 2);
    if (year < 0 || month < 0 || day < 0)
        return {};
    return QDate(year, month, day); // invalid for a day the calendar does not have
}

// "HH:mm:ss"
QTime parseTime(QStringView field)
{
    if (field.size() != 10 || field[0] != u'"' || field[3] != u':' || field[6] != u':' ||
        field[9] != u'"')
        return {};
    const int hour = number(field, 1, 2), minute = number(field, 4, 2),
              second = number(field, 7, 2);
    if (hour < 0 || minute < 0 || second < 0 || !QTime::isValid(hour, minute, second))
        return {};
    return QTime(hour, minute, second);
}

struct Value
{
    bool ok = false;
    std::optional<double> acuity;
};

// Empty, "", or a quoted decimal number above 0.
Value parseValue(QStringView field)
{
    if (field.isEmpty() || field == u"\"\"")
        return {true, std::nullopt};
    if (field.size() < 3 || field.front() != u'"' || field.back() != u'"')
        return {};
    const QStringView digits = field.mid(1, field.size() - 2);
    // Only ASCII digits and one decimal mark between digits; '.' stands for either mark.
    std::string ascii;
    ascii.reserve(size_t(digits.size()));
    bool mark = false;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const QChar c = digits[i];
        if (isDigit(c)) {
            ascii += char(c.unicode());
            continue;
        }
        const bool between = i > 0 && i + 1 < digits.size();
        if ((c != u'.' && c != u',') || mark || !between)
            return {};
        mark = true;
        ascii += '.';
    }
    double acuity = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), acuity);
    if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(acuity) ||
        acuity <= 0)
        return {};
    return {true, acuity};
}

bool isBlank(QStringView line)
{
    for (const QChar c : line)
        if (!c.isSpace())
            return false;
    return true;
}

} // namespace

QString reasonText(SkipReason reason)
{
    switch (reason) {
    case SkipReason::Blank:
        return QStringLiteral("空の行");
    case SkipReason::Header:
        return QStringLiteral("見出しの行");
    case SkipReason::NotARecord:
        return QStringLiteral("記録の形ではない行");
    case SkipReason::FieldCount:
        return QStringLiteral("項目の数が 4 つではない行");
    case SkipReason::BadDate:
        return QStringLiteral("日付が読めない行");
    case SkipReason::BadTime:
        return QStringLiteral("時刻が読めない行");
    case SkipReason::BadLeftValue:
        return QStringLiteral("左目の値が読めない行");
    case SkipReason::BadRightValue:
        return QStringLiteral("右目の値が読めない行");
    }
    return QString();
}

qint64 AcuityRecord::moment() const
{
    return date.toJulianDay() * 86400 + time.msecsSinceStartOfDay() / 1000;
}

std::variant<AcuityRecord, SkipReason> parseLine(QStringView line)
{
    if (isBlank(line))
        return SkipReason::Blank;
    if (line.size() == recordformat::headerText().size() + 2 && line.front() == u'"' &&
        line.back() == u'"' && line.mid(1, line.size() - 2) == recordformat::headerText())
        return SkipReason::Header;
    if (line.front() != u'#')
        return SkipReason::NotARecord;
    const Fields fields = splitFields(line);
    if (fields.unclosedQuote)
        return SkipReason::NotARecord;
    if (fields.count != kFields)
        return SkipReason::FieldCount;

    AcuityRecord record;
    record.date = parseDate(fields.field[0]);
    if (!record.date.isValid())
        return SkipReason::BadDate;
    record.time = parseTime(fields.field[1]);
    if (!record.time.isValid())
        return SkipReason::BadTime;
    const Value left = parseValue(fields.field[2]);
    if (!left.ok)
        return SkipReason::BadLeftValue;
    const Value right = parseValue(fields.field[3]);
    if (!right.ok)
        return SkipReason::BadRightValue;
    record.hidari = left.acuity;
    record.migi = right.acuity;
    return record;
}

RecordSeries parse(const QStringList &lines)
{
    RecordSeries series;
    series.records.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = int(i + 1);
        auto parsed = parseLine(lines[i]);
        if (auto *record = std::get_if<AcuityRecord>(&parsed)) {
            record->lineNumber = lineNumber;
            series.records.append(*record);
        } else {
            series.skipped.append({lineNumber, std::get<SkipReason>(parsed)});
        }
    }
    return series;
}

RecordSeries parse(QStringView text)
{
    return parse(recordformat::splitLines(text));
}

namespace {

QString count(qsizetype n)
{
    return QLocale(QLocale::Japanese).toString(n);
}

QString eyeName(Eye eye)
{
    return eye == Eye::Hidari ? QStringLiteral("左目") : QStringLiteral("右目");
}

} // namespace

QString summaryText(const RecordSeries &series)
{
    qsizetype left = 0, right = 0;
    for (const AcuityRecord &record : series.records) {
        left += record.hidari.has_value();
        right += record.migi.has_value();
    }
    QString text = QStringLiteral("記録 %1 件（左目 %2 点、右目 %3 点）。")
                       .arg(count(series.records.size()), count(left), count(right));
    if (series.skipped.isEmpty())
        return text;
    // How many lines each reason skipped, in the order of the reasons.
    QList<QString> parts;
    for (int r = int(SkipReason::Blank); r <= int(SkipReason::BadRightValue); ++r) {
        const auto reason = SkipReason(r);
        const qsizetype n =
            std::count_if(series.skipped.begin(), series.skipped.end(),
                          [reason](const SkippedLine &s) { return s.reason == reason; });
        if (n > 0)
            parts.append(reasonText(reason) + u' ' + count(n));
    }
    return text + QStringLiteral("飛ばした行 %1 行（%2）。")
                      .arg(count(series.skipped.size()), parts.join(QStringLiteral("、")));
}

QString skippedText(const RecordSeries &series, int limit)
{
    QStringList lines;
    for (const SkippedLine &skipped : series.skipped) {
        if (lines.size() == limit) {
            lines.append(QStringLiteral("ほか %1 行").arg(count(series.skipped.size() - limit)));
            break;
        }
        lines.append(QStringLiteral("%1 行目: %2")
                         .arg(count(skipped.lineNumber), reasonText(skipped.reason)));
    }
    return lines.join(u'\n');
}

QString pointText(const AcuityRecord &record, Eye eye)
{
    const std::optional<double> &value = acuity(record, eye);
    if (!value)
        return QString();
    return QStringLiteral("%1 %2　%3 %4（logMAR %5）")
        .arg(record.date.toString(u"yyyy-MM-dd"), record.time.toString(u"HH:mm:ss"), eyeName(eye),
             acuityText(*value), logMarText(*value));
}

QString plainNumber(double acuity)
{
    return QString::number(acuity, 'f', QLocale::FloatingPointShortest);
}

QString acuityText(double acuity)
{
    QString text = plainNumber(acuity);
    if (!text.contains(u'.'))
        text += QStringLiteral(".0");
    return text;
}

QString logMarText(double acuity)
{
    return visualangle::logMarText(-std::log10(acuity), 2);
}

} // namespace mitoon::recordseries
