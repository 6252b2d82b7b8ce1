#include "graph/graphseries.h"
#include "graph/recordseries.h"
#include "precise/acuityscales.h"
#include "support/preciseruns.h"
#include "support/recordfiletesting.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using namespace mitoon;
using precise::RangeLimit;
using recordseries::Eye;

namespace {

// A run as the graph gets it: written to a line of the runs file and read back, so that its
// figures are rounded as stored.
precise::StoredRun storedRun(const char *finished, precise::Eye eye, double logMar, double low,
                             double high, RangeLimit limit = RangeLimit::None,
                             bool uncalibrated = false)
{
    const precise::StoredRun run = mitoon::testing::storedRun(
        QDateTime::fromString(QString::fromLatin1(finished), Qt::ISODate), eye, logMar, low, high,
        limit, uncalibrated);
    const std::optional<precise::StoredRun> read =
        precise::parseRunLine(QString::fromUtf8(precise::runLine(run)).chopped(2));
    EXPECT_TRUE(read) << precise::runLine(run).toStdString();
    return read.value_or(run);
}

struct TextRow
{
    const char *name;
    precise::StoredRun run;
    const char *text; // UTF-8
};

class PrecisePointText : public ::testing::TestWithParam<TextRow>
{
};

TEST_P(PrecisePointText, NamesMomentEyeValueAndInterval)
{
    EXPECT_EQ(precisePointText(GetParam().run).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PrecisePointText,
    ::testing::Values(
        TextRow{"Normal", storedRun("2026-12-10T21:03:05", precise::Eye::Right, 0.12, 0.04, 0.20),
                "2026-12-10 21:03:05　精密測定 右目 0.76（logMAR 0.12、95 % 0.04～0.20）"},
        // At the finest gap the screen draws the eye may see better still: at least 0.65.
        TextRow{"AtLeastAtTheFinestLimit",
                storedRun("2026-12-11T08:00:00", precise::Eye::Left, 0.19, 0.19, 0.32,
                          RangeLimit::Finest),
                "2026-12-11 08:00:00　精密測定 左目 ≥ 0.65（logMAR ≤ 0.19、95 % 0.19～0.32）"},
        TextRow{"AtMostAtTheCoarsestLimit",
                storedRun("2026-12-11T08:05:00", precise::Eye::Right, 1.0, 0.85, 1.0,
                          RangeLimit::Coarsest),
                "2026-12-11 08:05:00　精密測定 右目 ≤ 0.10（logMAR ≥ 1.00、95 % 0.85～1.00）"},
        TextRow{"UncalibratedScreen",
                storedRun("2027-01-02T23:59:59", precise::Eye::Left, -0.2, -0.28, -0.12,
                          RangeLimit::None, true),
                "2027-01-02 23:59:59　精密測定 左目 1.6（logMAR -0.20、95 % -0.28～-0.12）　"
                "画面未校正"}),
    [](const ::testing::TestParamInfo<TextRow> &info) { return info.param.name; });

// Three records: both eyes, the left eye only, the right eye only.
const QString kGraphRecords = QStringLiteral("#2026-01-10#,\"12:00:00\",\"1\",\"0.5\"\r\n"
                                             "#2026-03-01#,\"12:00:00\",\"0.2\",\r\n"
                                             "#2026-05-20#,\"12:00:00\",,\"2\"\r\n");

qint64 moment(const char *isoDateTime)
{
    return momentOf(QDateTime::fromString(QString::fromLatin1(isoDateTime), Qt::ISODate));
}

TEST(GraphSeries, KeepsEachKindAndEyeApartInTimeOrderAndSpansBothFiles)
{
    // The second run is the earliest of all and stands after a later one in the file.
    const QList<precise::StoredRun> runs = {
        storedRun("2026-02-01T09:00:00", precise::Eye::Left, 0.1, 0.02, 0.2),
        storedRun("2025-12-24T18:30:00", precise::Eye::Left, 0.3, 0.2, 0.4),
        storedRun("2026-06-01T07:15:00", precise::Eye::Right, -0.1, -0.15, 0.0)};
    const GraphSeries series(recordseries::parse(kGraphRecords), runs);

    EXPECT_EQ(series.points({Eye::Hidari, SeriesKind::Classic}).size(), 2u);
    EXPECT_EQ(series.points({Eye::Migi, SeriesKind::Classic}).size(), 2u);
    const std::vector<GraphPoint> &left = series.points({Eye::Hidari, SeriesKind::Precise});
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(series.points({Eye::Migi, SeriesKind::Precise}).size(), 1u);
    EXPECT_EQ(left[0].moment, moment("2025-12-24T18:30:00"));
    EXPECT_EQ(left[0].record, 1);
    EXPECT_EQ(left[0].acuity, runs[1].result.decimal);
    EXPECT_EQ(left[1].record, 0);
    EXPECT_EQ(series.first(), moment("2025-12-24T18:30:00"));
    EXPECT_EQ(series.last(), moment("2026-06-01T07:15:00"));
    // A record and a run at the same moment sit at the same place on the time axis.
    EXPECT_EQ(series.points({Eye::Hidari, SeriesKind::Classic})[0].moment,
              moment("2026-01-10T12:00:00"));

    EXPECT_EQ(series.text({Eye::Hidari, 0, SeriesKind::Precise}), precisePointText(runs[1]));
    EXPECT_EQ(series.run({Eye::Migi, 0, SeriesKind::Precise}).finished, runs[2].finished);
    EXPECT_EQ(series.text({Eye::Migi, 1, SeriesKind::Classic}),
              QStringLiteral("2026-05-20 12:00:00　右目 2.0（logMAR -0.30）"));
}

TEST(GraphSeries, RecordsWithoutValuesSpanTimeButHaveNoPoints)
{
    const GraphSeries records(recordseries::parse(QStringLiteral("#2026-12-09#,\"12:17:01\",,")));
    EXPECT_FALSE(records.hasPoints());
    EXPECT_FALSE(records.hasPrecisePoints());
    EXPECT_TRUE(records.hasMoments());
    EXPECT_FALSE(GraphSeries().hasMoments());
}

struct SummaryRow
{
    const char *name;
    QByteArray runsFile; // after the header
    const char *summary; // UTF-8
};

class PreciseSummary : public ::testing::TestWithParam<SummaryRow>
{
};

TEST_P(PreciseSummary, CountsRunsPerEyeAndDamagedLines)
{
    const QString text = QString::fromUtf8(precise::runsHeader() + GetParam().runsFile);
    const precise::RunsRead read{{}, precise::parseRuns(text)};
    EXPECT_EQ(preciseSummaryText(read).toStdString(), GetParam().summary);
}

QByteArray runLines(std::initializer_list<precise::StoredRun> runs, int repeat = 1)
{
    QByteArray bytes;
    for (int i = 0; i < repeat; ++i)
        for (const precise::StoredRun &run : runs)
            bytes += precise::runLine(run);
    return bytes;
}

// Made when a row is, not at start-up: the runs file's texts are constants of another library,
// which may not stand yet while this file's constants are made.
precise::StoredRun leftRun()
{
    return storedRun("2026-12-10T21:00:00", precise::Eye::Left, 0.1, 0, 0.2);
}

precise::StoredRun rightRun()
{
    return storedRun("2026-12-10T21:05:00", precise::Eye::Right, 0.2, 0.1, 0.3);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PreciseSummary,
    ::testing::Values(
        // Nothing to say: the summary line stays the record file's alone.
        SummaryRow{"HeaderOnly", {}, ""},
        SummaryRow{"BothEyes", runLines({leftRun(), rightRun(), leftRun()}),
                   "精密測定 3 回（左目 2 回、右目 1 回）。"},
        SummaryRow{"DamagedLines",
                   runLines({leftRun()}) + "2026-12-10,21:00:00,右目,0.1\r\n\r\n" +
                       runLines({rightRun()}),
                   "精密測定 2 回（左目 1 回、右目 1 回）。精密測定の記録で飛ばした行 2 行。"},
        SummaryRow{"OnlyDamagedLines", "メモ\r\n", "精密測定の記録で飛ばした行 1 行。"},
        SummaryRow{"ThousandsGrouped", runLines({rightRun()}, 1200),
                   "精密測定 1,200 回（左目 0 回、右目 1,200 回）。"}),
    [](const ::testing::TestParamInfo<SummaryRow> &info) { return info.param.name; });

TEST(PreciseSummary, NoFileSaysNothingAndAnUnreadableOneSaysWhy)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("精密測定.csv"));
    EXPECT_EQ(preciseSummaryText(precise::readRuns(path)), QString());

    ASSERT_TRUE(QDir().mkpath(path));
    const precise::RunsRead read = precise::readRuns(path);
    ASSERT_FALSE(read.result.ok());
    EXPECT_EQ(
        preciseSummaryText(read),
        QStringLiteral("精密測定の記録を読み込めませんでした（%1）。").arg(read.result.reason()));
    EXPECT_FALSE(read.result.reason().isEmpty());
}

} // namespace
