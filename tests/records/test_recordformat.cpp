#include "fileio/shiftjis.h"
#include "records/recordformat.h"

#include <gtest/gtest.h>

using namespace mitoon;

namespace {

struct RecordLineRow
{
    const char *name;
    QDateTime savedAt;
    const char *hidarikekka;
    const char *migikekka;
    QByteArray expected;
};

QDateTime at(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

class RecordLine : public ::testing::TestWithParam<RecordLineRow>
{
};

TEST_P(RecordLine, IsWrittenByteForByte)
{
    const RecordLineRow &row = GetParam();
    EXPECT_EQ(recordformat::recordLine(row.savedAt, QString::fromUtf8(row.hidarikekka),
                                       QString::fromUtf8(row.migikekka)),
              row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RecordLine,
    ::testing::Values(RecordLineRow{"BothEyes", at(2006, 6, 9, 14, 3, 27), "0.8", "1.2",
                                    "#2006-06-09#,\"14:03:27\",\"0.8\",\"1.2\"\r\n"},
                      RecordLineRow{"RightEyeOnly", at(2006, 6, 9, 14, 3, 27), "", "1.2",
                                    "#2006-06-09#,\"14:03:27\",,\"1.2\"\r\n"},
                      RecordLineRow{"LeftEyeOnly", at(2006, 6, 9, 14, 3, 27), "0.8", "",
                                    "#2006-06-09#,\"14:03:27\",\"0.8\",\r\n"},
                      RecordLineRow{"NeitherEye", at(2006, 6, 9, 14, 3, 27), "", "",
                                    "#2006-06-09#,\"14:03:27\",,\r\n"},
                      RecordLineRow{"WholeAcuityHasNoPoint", at(2026, 12, 9, 9, 5, 7), "1", "2",
                                    "#2026-12-09#,\"09:05:07\",\"1\",\"2\"\r\n"},
                      RecordLineRow{"Midnight", at(2026, 1, 1, 0, 0, 0), "0.1", "0.1",
                                    "#2026-01-01#,\"00:00:00\",\"0.1\",\"0.1\"\r\n"},
                      RecordLineRow{"CharacterWithoutShiftJisCode", at(2026, 12, 9, 9, 5, 7),
                                    "0\u066B8", "1", "#2026-12-09#,\"09:05:07\",\"0?8\",\"1\"\r\n"},
                      RecordLineRow{"AfternoonOnTheTwentyFourHourClock",
                                    at(2026, 12, 31, 23, 59, 59), "1.5", "0.2",
                                    "#2026-12-31#,\"23:59:59\",\"1.5\",\"0.2\"\r\n"}),
    [](const ::testing::TestParamInfo<RecordLineRow> &info) { return info.param.name; });

TEST(RecordLine, TakesItsMomentFromTheClock)
{
    const recordformat::Clock clock = [] { return at(2026, 12, 9, 14, 3, 27); };
    EXPECT_EQ(recordformat::recordLine(clock(), "0.8", "1.2"),
              QByteArray("#2026-12-09#,\"14:03:27\",\"0.8\",\"1.2\"\r\n"));
}

TEST(HeaderLine, IsTheQuotedHeaderIn41ShiftJisBytes)
{
    // 4 spaces 日 3 付 7 時 3 刻 3 左目 1 右目, in quotes, CR LF.
    const QByteArray expected = QByteArray::fromHex("22"
                                                    "20202020"
                                                    "93fa"
                                                    "202020"
                                                    "9574"
                                                    "20202020202020"
                                                    "8e9e"
                                                    "202020"
                                                    "8d8f"
                                                    "202020"
                                                    "8db696da"
                                                    "20"
                                                    "894596da"
                                                    "22"
                                                    "0d0a");
    EXPECT_EQ(recordformat::headerText().size(), 29);
    EXPECT_EQ(recordformat::headerLine().size(), 41);
    EXPECT_EQ(recordformat::headerLine().toHex(' '), expected.toHex(' '));
}

struct SplitRow
{
    const char *name;
    QString text;
    QStringList lines;
};

class SplitLines : public ::testing::TestWithParam<SplitRow>
{
};

TEST_P(SplitLines, EndsLinesAtCrOrCrLf)
{
    EXPECT_EQ(recordformat::splitLines(GetParam().text), GetParam().lines);
}

// The same lines whether the text comes at once or in two parts, cut anywhere.
TEST_P(SplitLines, AreTheSameWhereverThePartsEnd)
{
    const QString &text = GetParam().text;
    for (qsizetype cut = 0; cut <= text.size(); ++cut) {
        QStringList lines;
        recordformat::LineSplitter splitter;
        splitter.feed(QStringView(text).first(cut), &lines);
        splitter.feed(QStringView(text).sliced(cut), &lines);
        splitter.finish(&lines);
        EXPECT_EQ(lines, GetParam().lines) << "cut after " << cut;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SplitLines,
    ::testing::Values(SplitRow{"Empty", "", {}}, SplitRow{"CrLf", "a\r\nb\r\n", {"a", "b"}},
                      SplitRow{"Cr", "a\rb\r", {"a", "b"}},
                      SplitRow{"Mixed", "a\rb\r\nc\r", {"a", "b", "c"}},
                      SplitRow{"LastLineWithoutEnd", "a\r\nb", {"a", "b"}},
                      SplitRow{"CrLfCountsOnce", "a\r\n\r\nb", {"a", "", "b"}},
                      SplitRow{"CrThenCrLf", "a\r\r\nb", {"a", "", "b"}},
                      SplitRow{"OnlyALineEnd", "\r\n", {""}},
                      SplitRow{"LoneLfStaysInTheLine", "a\nb\r\nc", {"a\nb", "c"}},
                      SplitRow{"QuotesAndSignsStay",
                               "#2006-06-09#,\"14:03:27\",,\r\n",
                               {"#2006-06-09#,\"14:03:27\",,"}}),
    [](const ::testing::TestParamInfo<SplitRow> &info) { return info.param.name; });

struct LongestRow
{
    const char *name;
    QString text;
    QStringList lines;
};

class LongLines : public ::testing::TestWithParam<LongestRow>
{
};

// A line longer than the longest length comes out in parts of that length, read as it may be.
TEST_P(LongLines, ComeOutInPartsOfTheLongestLength)
{
    const QString &text = GetParam().text;
    for (qsizetype cut = 0; cut <= text.size(); ++cut) {
        QStringList lines;
        recordformat::LineSplitter splitter(4);
        splitter.feed(QStringView(text).first(cut), &lines);
        splitter.feed(QStringView(text).sliced(cut), &lines);
        splitter.finish(&lines);
        EXPECT_EQ(lines, GetParam().lines) << "cut after " << cut;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LongLines,
    ::testing::Values(
        LongestRow{"JustTheLongest", "abcd\r\nefgh", {"abcd", "efgh"}},
        LongestRow{"OneMore", "abcde\r\n", {"abcd", "e"}},
        LongestRow{"TwiceTheLongest", "abcdefgh\r", {"abcd", "efgh"}},
        LongestRow{"WithoutLineEnd", "abcdefghij", {"abcd", "efgh", "ij"}},
        LongestRow{"LoneLfCounts", "a\nb\nc\r", {"a\nb\n", "c"}},
        LongestRow{"SurrogatePairStaysWhole", u"abc\U0001F600d\r"_qs, {"abc", u"\U0001F600d"_qs}}),
    [](const ::testing::TestParamInfo<LongestRow> &info) { return info.param.name; });

TEST(DisplayText, FollowsEveryLineWithCrLf)
{
    EXPECT_EQ(recordformat::displayText({}), QString());
    EXPECT_EQ(recordformat::displayText({""}), QStringLiteral("\r\n"));
    EXPECT_EQ(recordformat::displayText({"\"    日\"", "#2006-06-09#,\"14:03:27\",,"}),
              QStringLiteral("\"    日\"\r\n#2006-06-09#,\"14:03:27\",,\r\n"));
}

TEST(ShiftJis, ShowsBytesItCannotDecodeAsReplacementCharacters)
{
    // A lead byte followed by CR does not swallow the line end.
    const QString text = shiftjis::decode(QByteArray("a\x82\xff"
                                                     "b\x81\r\n\xa0\xfd\x80",
                                                     10));
    EXPECT_EQ(text, QStringLiteral("a\uFFFD\uFFFDb\uFFFD\r\n\uFFFD\uFFFD\uFFFD"));
    EXPECT_EQ(recordformat::splitLines(text).size(), 2);
}

} // namespace
