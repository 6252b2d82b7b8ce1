#include "precise/preciserecords.h"
#include "support/isolatedhome.h"
#include "support/recordfiletesting.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mitoon;
using namespace mitoon::precise;
using mitoon::testing::readBytes;
using mitoon::testing::writeBytes;

namespace {

// No test touches the user's files.
const QString kPreciseRecordsTestsHome = mitoon::testing::isolateHome();

StoredRun sampleRun(RangeLimit limit = RangeLimit::None, bool uncalibrated = false)
{
    StoredRun run;
    run.finished = QDateTime(QDate(2026, 12, 10), QTime(21, 3, 5));
    PreciseResult &result = run.result;
    result.eye = Eye::Right;
    result.logMar = 0.1234;
    result.decimal = 0.7526;
    result.lowLogMar = 0.0401;
    result.highLogMar = 0.2049;
    result.trials = 18;
    result.distanceCm = 300;
    result.pitchMm = 0.27451;
    result.limit = limit;
    run.pitchSource = QStringLiteral("カード");
    run.uncalibrated = uncalibrated;
    run.version = QStringLiteral("1.0.15");
    return run;
}

std::vector<TrialRecord> sampleTrials()
{
    return {{1, 0.3456, 6.789, 4, 4, true, 1234.4}, {2, -0.0004, 1.0, 7, kCannotSee, false, 800.6}};
}

TEST(PreciseRecords, HeadersAreUtf8WithByteOrderMarkAndCrLf)
{
    EXPECT_EQ(runsHeader(),
              QByteArray("\xEF\xBB\xBF日付,時刻,目,logMAR,小数視力,下限logMAR,"
                         "上限logMAR,試行数,距離cm,画素mm,画素の出所,範囲,校正,版\r\n"));
    EXPECT_EQ(trialsHeader(),
              QByteArray("\xEF\xBB\xBF測定日時,試行,すき間logMAR,すき間画素,向き,答え,正誤,"
                         "反応時間ms\r\n"));
}

TEST(PreciseRecords, ARunAndItsTrialsAreTheseBytes)
{
    EXPECT_EQ(runLine(sampleRun()),
              QByteArray("2026-12-10,21:03:05,右目,0.12,0.75,0.04,0.20,18,300,0.2745,カード,,,"
                         "1.0.15\r\n"));
    EXPECT_EQ(runLine(sampleRun(RangeLimit::Finest, true)),
              QByteArray("2026-12-10,21:03:05,右目,0.12,0.75,0.04,0.20,18,300,0.2745,カード,≥,"
                         "画面未校正,1.0.15\r\n"));
    EXPECT_EQ(trialLines(sampleRun().finished, sampleTrials()),
              QByteArray("2026-12-10 21:03:05,1,0.346,6.79,4,4,正,1234\r\n"
                         "2026-12-10 21:03:05,2,0.000,1.00,7,見えない,誤,801\r\n"));
}

TEST(PreciseRecords, StoredLinesReadBackAndDamagedOnesAreSkipped)
{
    const QString text = QString::fromUtf8(
        runsHeader() + runLine(sampleRun()) + runLine(sampleRun(RangeLimit::Coarsest, true)) +
        "2026-12-10,21:03:05,右目,0.12\r\n"                                          // cut short
        "2026-13-10,21:03:05,右目,0.12,0.75,0.04,0.20,18,300,0.2745,カード,,,1\r\n"  // no month 13
        "2026-12-10,21:03:05,両目,0.12,0.75,0.04,0.20,18,300,0.2745,カード,,,1\r\n"  // no such eye
        "2026-12-10,21:03:05,左目,0.12,0.75,0.30,0.20,18,300,0.2745,カード,,,1\r\n"  // inside out
        "2026-12-10,21:03:05,左目,0.12,0.75,0.04,0.20,18,300,0.2745,カード,>,,1\r\n" // no flag
        "\r\n");
    const StoredRuns read = parseRuns(text);
    ASSERT_EQ(read.runs.size(), 2);
    EXPECT_EQ(read.skipped, 6);
    const StoredRun &first = read.runs[0];
    EXPECT_EQ(first.finished, sampleRun().finished);
    EXPECT_EQ(first.result.eye, Eye::Right);
    EXPECT_DOUBLE_EQ(first.result.logMar, 0.12);
    EXPECT_DOUBLE_EQ(first.result.lowLogMar, 0.04);
    EXPECT_DOUBLE_EQ(first.result.highLogMar, 0.2);
    EXPECT_EQ(first.result.trials, 18);
    EXPECT_EQ(first.pitchSource, QStringLiteral("カード"));
    EXPECT_FALSE(first.uncalibrated);
    EXPECT_EQ(read.runs[1].result.limit, RangeLimit::Coarsest);
    EXPECT_TRUE(read.runs[1].uncalibrated);
}

class PreciseFiles : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    QString runs() const { return folder.filePath(QStringLiteral("精密測定.csv")); }
    QString trials() const { return folder.filePath(QStringLiteral("精密測定-試行.csv")); }
};

TEST_F(PreciseFiles, NewFilesGetTheirHeaderAndEveryRunALine)
{
    for (int i = 0; i < 2; ++i) {
        StoreState state;
        ASSERT_TRUE(storeRun(sampleRun(), sampleTrials(), state, runs(), trials()).ok());
        EXPECT_TRUE(state.complete());
    }
    EXPECT_EQ(readBytes(runs()), runsHeader() + runLine(sampleRun()) + runLine(sampleRun()));
    const QByteArray lines = trialLines(sampleRun().finished, sampleTrials());
    EXPECT_EQ(readBytes(trials()), trialsHeader() + lines + lines);
    const RunsRead read = readRuns(runs());
    EXPECT_TRUE(read.result.ok());
    EXPECT_EQ(read.runs.runs.size(), 2);
    EXPECT_EQ(read.runs.skipped, 0);
}

// A save that failed halfway is tried again without writing its trials twice; the message
// names the file and the reason.
TEST_F(PreciseFiles, ASaveTriedAgainWritesNothingTwice)
{
    const QString missing = folder.filePath(QStringLiteral("gone/精密測定.csv"));
    StoreState state;
    const fileio::Result failed = storeRun(sampleRun(), sampleTrials(), state, missing, trials());
    EXPECT_FALSE(failed.ok());
    EXPECT_TRUE(failed.message().contains(QStringLiteral("C:\\Tool\\devwork\\精密測定.csv")));
    EXPECT_TRUE(failed.message().contains(missing));
    EXPECT_TRUE(
        failed.message().contains(QStringLiteral("そのようなファイルやフォルダーはありません")))
        << failed.message().toStdString();
    EXPECT_TRUE(state.trialsStored);
    EXPECT_FALSE(state.runStored);

    ASSERT_TRUE(QDir().mkpath(folder.filePath(QStringLiteral("gone"))));
    ASSERT_TRUE(storeRun(sampleRun(), sampleTrials(), state, missing, trials()).ok());
    EXPECT_EQ(readBytes(trials()),
              trialsHeader() + trialLines(sampleRun().finished, sampleTrials()));
    EXPECT_EQ(readBytes(missing), runsHeader() + runLine(sampleRun()));
}

TEST_F(PreciseFiles, AMissingRunsFileIsNoRunsAndAFolderInItsPlaceIsAFailure)
{
    const RunsRead none = readRuns(runs());
    EXPECT_TRUE(none.result.ok());
    EXPECT_TRUE(none.runs.runs.isEmpty());
    ASSERT_TRUE(QDir().mkpath(runs()));
    const RunsRead folderThere = readRuns(runs());
    EXPECT_FALSE(folderThere.result.ok());
    EXPECT_TRUE(folderThere.result.message().contains(QStringLiteral("読み込めませんでした")));
}

} // namespace
