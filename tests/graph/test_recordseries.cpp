#include "fileio/shiftjis.h"
#include "graph/recordseries.h"
#include "records/recordformat.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace mitoon;
using namespace mitoon::recordseries;

namespace {

constexpr double kNone = -1; // the eye was not measured

struct LineRow
{
    const char *name;
    const char *line; // UTF-8
    // A record: its date, time and values; or the reason the line is skipped.
    const char *date = nullptr;
    const char *time = nullptr;
    double hidari = kNone;
    double migi = kNone;
    SkipReason reason = SkipReason::NotARecord;
};

LineRow record(const char *name, const char *line, const char *date, const char *time,
               double hidari, double migi)
{
    return {name, line, date, time, hidari, migi};
}

LineRow skipped(const char *name, const char *line, SkipReason reason)
{
    return {name, line, nullptr, nullptr, kNone, kNone, reason};
}

class ParseLine : public ::testing::TestWithParam<LineRow>
{
};

TEST_P(ParseLine, GivesTheRecordOrTheReason)
{
    const LineRow &row = GetParam();
    const auto parsed = parseLine(QString::fromUtf8(row.line));
    if (!row.date) {
        ASSERT_TRUE(std::holds_alternative<SkipReason>(parsed)) << row.line;
        EXPECT_EQ(int(std::get<SkipReason>(parsed)), int(row.reason)) << row.line;
        return;
    }
    ASSERT_TRUE(std::holds_alternative<AcuityRecord>(parsed))
        << row.line << " skipped: " << reasonText(std::get<SkipReason>(parsed)).toStdString();
    const AcuityRecord &r = std::get<AcuityRecord>(parsed);
    EXPECT_EQ(r.date, QDate::fromString(QString::fromLatin1(row.date), Qt::ISODate));
    EXPECT_EQ(r.time, QTime::fromString(QString::fromLatin1(row.time), Qt::ISODate));
    EXPECT_EQ(r.hidari.value_or(kNone), row.hidari);
    EXPECT_EQ(r.migi.value_or(kNone), row.migi);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseLine,
    ::testing::Values(
        record("BothEyes", R"(#2026-12-09#,"12:17:01","1.1","0.3")", "2026-12-09", "12:17:01", 1.1,
               0.3),
        record("WholeAcuityWithoutPoint", R"(#2026-12-09#,"00:00:00","1","2")", "2026-12-09",
               "00:00:00", 1.0, 2.0),
        record("LeftEyeOnly", R"(#2006-06-09#,"14:03:27","0.8",)", "2006-06-09", "14:03:27", 0.8,
               kNone),
        record("RightEyeOnly", R"(#2006-06-09#,"14:03:27",,"1.2")", "2006-06-09", "14:03:27", kNone,
               1.2),
        record("NeitherEye", R"(#2006-06-09#,"14:03:27",,)", "2006-06-09", "14:03:27", kNone,
               kNone),
        record("EmptyTextIsNotMeasured", R"(#2006-06-09#,"14:03:27","","0.5")", "2006-06-09",
               "14:03:27", kNone, 0.5),
        record("DecimalCommaOfTheLocale", R"(#2026-12-09#,"23:59:59","0,8","1,2")", "2026-12-09",
               "23:59:59", 0.8, 1.2),
        record("AboveTheAxisStillARecord", R"(#2024-02-29#,"08:00:00","2.5","0.1")", "2024-02-29",
               "08:00:00", 2.5, 0.1),
        record("ManyDecimals", R"(#2026-12-09#,"12:17:01","0.30000000000000004","0.7")",
               "2026-12-09", "12:17:01", 0.30000000000000004, 0.7),

        skipped("Empty", "", SkipReason::Blank), skipped("SpacesAndTab", " \t ", SkipReason::Blank),
        skipped("IdeographicSpace", "\u3000", SkipReason::Blank),
        skipped("Header", "\"    日   付       時   刻   左目 右目\"", SkipReason::Header),
        skipped("HeaderWithoutItsSpaces", "\"日付 時刻 左目 右目\"", SkipReason::NotARecord),
        skipped("TypedJapanese", "今日は目が疲れていた", SkipReason::NotARecord),
        skipped("DateWithoutNumberSigns", R"(2026-12-09,"12:17:01","1.1","0.3")",
                SkipReason::NotARecord),
        skipped("UnclosedQuote", R"(#2026-12-09#,"12:17:01","1.1","0.3)", SkipReason::NotARecord),
        skipped("TypedNoteAfterNumberSign", "#メモ", SkipReason::FieldCount),
        skipped("ThreeFields", R"(#2026-12-09#,"12:17:01","1.1")", SkipReason::FieldCount),
        skipped("FiveFields", R"(#2026-12-09#,"12:17:01","1.1","0.3",)", SkipReason::FieldCount),
        skipped("NoSuchDay", R"(#2026-02-30#,"12:17:01","1.1","0.3")", SkipReason::BadDate),
        skipped("YearZero", R"(#0000-01-01#,"12:17:01","1.1","0.3")", SkipReason::BadDate),
        skipped("OneDigitMonth", R"(#2026-1-09#,"12:17:01","1.1","0.3")", SkipReason::BadDate),
        skipped("FullWidthDigitsInDate", "#２０２６-12-09#,\"12:17:01\",\"1.1\",\"0.3\"",
                SkipReason::BadDate),
        skipped("Hour24", R"(#2026-12-09#,"24:00:00","1.1","0.3")", SkipReason::BadTime),
        skipped("NoSeconds", R"(#2026-12-09#,"12:17","1.1","0.3")", SkipReason::BadTime),
        skipped("TimeWithoutQuotes", R"(#2026-12-09#,12:17:01,"1.1","0.3")", SkipReason::BadTime),
        skipped("LeftWord", R"(#2026-12-09#,"12:17:01","abc","0.3")", SkipReason::BadLeftValue),
        skipped("LeftZero", R"(#2026-12-09#,"12:17:01","0","0.3")", SkipReason::BadLeftValue),
        skipped("LeftNegative", R"(#2026-12-09#,"12:17:01","-0.5","0.3")",
                SkipReason::BadLeftValue),
        skipped("LeftWithoutQuotes", R"(#2026-12-09#,"12:17:01",0.8,"0.3")",
                SkipReason::BadLeftValue),
        skipped("LeftWithSpace", R"(#2026-12-09#,"12:17:01"," 0.8","0.3")",
                SkipReason::BadLeftValue),
        skipped("LeftNoLeadingDigit", R"(#2026-12-09#,"12:17:01",".8","0.3")",
                SkipReason::BadLeftValue),
        skipped("LeftExponent", R"(#2026-12-09#,"12:17:01","1e1","0.3")", SkipReason::BadLeftValue),
        skipped("LeftTwoMarks", R"(#2026-12-09#,"12:17:01","0,8,1","0.3")",
                SkipReason::BadLeftValue),
        skipped("LeftFullWidth", "#2026-12-09#,\"12:17:01\",\"０.８\",\"0.3\"",
                SkipReason::BadLeftValue),
        skipped("LeftBrokenShiftJis", "#2026-12-09#,\"12:17:01\",\"\uFFFD\",\"0.3\"",
                SkipReason::BadLeftValue),
        skipped("RightWord", R"(#2026-12-09#,"12:17:01","1.1","x")", SkipReason::BadRightValue)),
    [](const ::testing::TestParamInfo<LineRow> &info) { return info.param.name; });

TEST(ParseLine, NumberTooLargeForADoubleIsBroken)
{
    const QString line =
        QStringLiteral("#2026-12-09#,\"12:17:01\",\"1.1\",\"1%1\"").arg(QString(400, u'0'));
    const auto parsed = parseLine(line);
    ASSERT_TRUE(std::holds_alternative<SkipReason>(parsed));
    EXPECT_EQ(std::get<SkipReason>(parsed), SkipReason::BadRightValue);
}

// A whole file, as the window reads it: decoded from Shift-JIS, split at CR or CR LF.
struct FileRow
{
    const char *name;
    QByteArray lineEnd;
};

class ParseFile : public ::testing::TestWithParam<FileRow>
{
};

TEST_P(ParseFile, KeepsRecordsAndNamesEverySkippedLine)
{
    const QByteArray end = GetParam().lineEnd;
    const QByteArray bytes = recordformat::headerLine().chopped(2) + end +                 // 1
                             QByteArray("#2026-12-07#,\"08:00:00\",\"0.8\",\"1\"") + end + // 2
                             end +                                                         // 3
                             shiftjis::encode(u"右目がかすむ（メモ）").value() + end +     // 4
                             QByteArray("#2026-12-08#,\"08:00:00\",,\"1.2\"") + end +      // 5
                             QByteArray("#2026-12-32#,\"08:00:00\",\"0.8\",\"1\"") + end + // 6
                             QByteArray("#2026-12-09#,\"12:17:01\",\"1.1\",") + end +      // 7
                             QByteArray("#2026-12-09#,\"12:17:02\",\"0.8\",\"\x82\xa0\"") +
                             end; // 8: あ
    const RecordSeries series = parse(shiftjis::decode(bytes));

    ASSERT_EQ(series.records.size(), 3);
    EXPECT_EQ(series.records[0].lineNumber, 2);
    EXPECT_EQ(series.records[0].hidari, 0.8);
    EXPECT_EQ(series.records[0].migi, 1.0);
    EXPECT_EQ(series.records[1].lineNumber, 5);
    EXPECT_FALSE(series.records[1].hidari);
    EXPECT_EQ(series.records[1].migi, 1.2);
    EXPECT_EQ(series.records[2].lineNumber, 7);
    EXPECT_EQ(series.records[2].date, QDate(2026, 12, 9));
    EXPECT_EQ(series.records[2].time, QTime(12, 17, 1));
    EXPECT_EQ(series.records[2].hidari, 1.1);
    EXPECT_FALSE(series.records[2].migi);

    const QList<std::pair<int, SkipReason>> expected = {
        {1, SkipReason::Header},  {3, SkipReason::Blank},         {4, SkipReason::NotARecord},
        {6, SkipReason::BadDate}, {8, SkipReason::BadRightValue},
    };
    ASSERT_EQ(series.skipped.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(series.skipped[i].lineNumber, expected[i].first);
        EXPECT_EQ(series.skipped[i].reason, expected[i].second);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ParseFile,
                         ::testing::Values(FileRow{"CrLf", "\r\n"}, FileRow{"CrOnly", "\r"}),
                         [](const ::testing::TestParamInfo<FileRow> &info) {
                             return info.param.name;
                         });

TEST(ParseFile, LastLineWithoutLineEndAndLoneLineFeeds)
{
    // A lone LF stays inside its line, which is then no record.
    const RecordSeries series =
        parse(QStringLiteral("#2026-12-07#,\"08:00:00\",\"0.8\",\"1\"\n#2026-12-08#,\"08:00:00\","
                             "\"0.8\",\"1\"\r#2026-12-09#,\"08:00:00\",\"0.9\",\"1\""));
    ASSERT_EQ(series.records.size(), 1);
    EXPECT_EQ(series.records[0].lineNumber, 2);
    EXPECT_EQ(series.records[0].hidari, 0.9);
    ASSERT_EQ(series.skipped.size(), 1);
    EXPECT_EQ(series.skipped[0].reason, SkipReason::FieldCount);
}

TEST(ParseFile, EmptyTextHasNothing)
{
    const RecordSeries series = parse(QString());
    EXPECT_TRUE(series.records.isEmpty());
    EXPECT_TRUE(series.skipped.isEmpty());
}

struct NumberRow
{
    double acuity;
    const char *plain;
    const char *shown;
    const char *logMar;
};

class NumberTexts : public ::testing::TestWithParam<NumberRow>
{
};

TEST_P(NumberTexts, AreWrittenWithPointAndTwoLogMarDecimals)
{
    const NumberRow &row = GetParam();
    EXPECT_EQ(plainNumber(row.acuity).toStdString(), row.plain);
    EXPECT_EQ(acuityText(row.acuity).toStdString(), row.shown);
    EXPECT_EQ(logMarText(row.acuity).toStdString(), row.logMar);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NumberTexts,
    ::testing::Values(NumberRow{1.0, "1", "1.0", "0.00"}, NumberRow{0.1, "0.1", "0.1", "1.00"},
                      NumberRow{0.8, "0.8", "0.8", "0.10"}, NumberRow{1.2, "1.2", "1.2", "-0.08"},
                      NumberRow{2.0, "2", "2.0", "-0.30"}, NumberRow{1.25, "1.25", "1.25", "-0.10"},
                      // Just above 1: logMAR rounds to zero, not "-0.00".
                      NumberRow{1.001, "1.001", "1.001", "0.00"},
                      NumberRow{327.6, "327.6", "327.6", "-2.52"}));

TEST(Texts, SummaryCountsRecordsPointsAndSkippedLinesByReason)
{
    QString text;
    for (int i = 0; i < 1234; ++i)
        text += QStringLiteral("#2026-12-09#,\"12:17:01\",\"1.1\",\"0.3\"\r\n");
    text += QStringLiteral("#2026-12-09#,\"12:17:01\",,\"0.3\"\r\n\r\nメモ\r\n\r\n");
    text.prepend(u'"' + recordformat::headerText() + QStringLiteral("\"\r\n"));
    const RecordSeries series = parse(text);
    EXPECT_EQ(summaryText(series), QStringLiteral("記録 1,235 件（左目 1,234 点、右目 1,235 点）。"
                                                  "飛ばした行 4 行（空の行 2、見出しの行 1、"
                                                  "記録の形ではない行 1）。"));
    EXPECT_EQ(skippedText(series, 2),
              QStringLiteral("1 行目: 見出しの行\n1,237 行目: 空の行\nほか 2 行"));
    EXPECT_EQ(summaryText(parse(QStringLiteral("#2026-12-09#,\"12:17:01\",,\r\n"))),
              QStringLiteral("記録 1 件（左目 0 点、右目 0 点）。"));
}

TEST(Texts, PointTextNamesDateTimeEyeAndBothScales)
{
    const auto parsed = parseLine(u"#2026-12-09#,\"12:17:01\",\"1.1\",\"1\"");
    const AcuityRecord &r = std::get<AcuityRecord>(parsed);
    EXPECT_EQ(pointText(r, Eye::Hidari),
              QStringLiteral("2026-12-09 12:17:01　左目 1.1（logMAR -0.04）"));
    EXPECT_EQ(pointText(r, Eye::Migi),
              QStringLiteral("2026-12-09 12:17:01　右目 1.0（logMAR 0.00）"));
}

} // namespace
