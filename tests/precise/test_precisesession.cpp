#include "app/appinfo.h"
#include "precise/precisesession.h"
#include "precise/precisetexts.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace mitoon;
using namespace mitoon::precise;

namespace {

// 300 cm from a 1920 × 1080 screen of 0.25 mm pixels measured with a card.
PreciseSession::Screen measuredScreen()
{
    return {1920, 1080, 1, 0.25, QStringLiteral("カード"), false};
}

// The stores a session made, and what the store answers.
struct Stores
{
    int calls = 0;
    QList<StoredRun> runs;
    fileio::Result answer;

    PreciseSession::Store store()
    {
        return [this](const StoredRun &run, const std::vector<TrialRecord> &trials,
                      StoreState &state) {
            ++calls;
            EXPECT_EQ(int(trials.size()), run.result.trials);
            if (answer.ok()) {
                runs.append(run);
                state = {true, true};
            }
            return answer;
        };
    }
};

const QDateTime kFinished(QDate(2026, 12, 10), QTime(21, 3, 5));

PreciseSession session(Stores &stores, PreciseSession::Screen screen = measuredScreen())
{
    return PreciseSession(screen, 300, 18, OrientationRandom(7), stores.store(),
                          [] { return kFinished; });
}

// Every ring at least logMAR 0.3 is seen, every smaller one is not.
void playRun(PreciseSession &session)
{
    while (session.stage() == PreciseSession::Stage::Rings) {
        const PreciseTrial &trial = session.run()->currentTrial();
        ASSERT_TRUE(session.answer(trial.gapLogMar >= 0.3 ? trial.orientation : kCannotSee, 900));
    }
}

TEST(PreciseSession, AFinishedRunIsStoredOnceWithWhatTheScreenSaid)
{
    Stores stores;
    PreciseSession::Screen doubtful = measuredScreen();
    doubtful.pitchSource = QStringLiteral("画面の報告");
    doubtful.uncalibrated = true;
    PreciseSession measuring = session(stores, doubtful);
    measuring.selectEye(Eye::Left);
    ASSERT_TRUE(measuring.start());
    EXPECT_EQ(measuring.stage(), PreciseSession::Stage::Rings);
    // The set-up is fixed while the rings are on view.
    measuring.selectEye(Eye::Right);
    measuring.setDistanceCm(100);
    playRun(measuring);

    ASSERT_EQ(measuring.stage(), PreciseSession::Stage::Result);
    EXPECT_FALSE(measuring.answer(1, 500)); // no ring on view any more
    ASSERT_EQ(stores.calls, 1);
    const StoredRun &stored = stores.runs.front();
    EXPECT_EQ(stored.finished, kFinished);
    EXPECT_EQ(stored.result.eye, Eye::Left);
    EXPECT_EQ(stored.result.trials, 18);
    EXPECT_DOUBLE_EQ(stored.result.distanceCm, 300);
    EXPECT_NEAR(stored.result.logMar, 0.3, 0.1);
    EXPECT_EQ(stored.pitchSource, QStringLiteral("画面の報告"));
    EXPECT_TRUE(stored.uncalibrated);
    EXPECT_EQ(stored.version, versionText());
    EXPECT_TRUE(texts::resultLines(stored).contains(QStringLiteral(
        "画面未校正: 画素の大きさをカードで測っていないため、ずれているかもしれません。")));
    EXPECT_FALSE(measuring.storeAgain()); // nothing left to store
    EXPECT_EQ(stores.calls, 1);
}

TEST(PreciseSession, ARunLeftBeforeItsEndIsNeverStored)
{
    Stores stores;
    PreciseSession measuring = session(stores);
    ASSERT_TRUE(measuring.start());
    for (int i = 0; i < 5; ++i)
        measuring.answer(measuring.run()->currentTrial().orientation, 700);
    measuring.abandon();
    EXPECT_EQ(measuring.stage(), PreciseSession::Stage::Setup);
    EXPECT_EQ(measuring.run(), nullptr);
    EXPECT_EQ(stores.calls, 0);
}

// A failed save keeps the result on view and can be tried again; then the other eye.
TEST(PreciseSession, AFailedSaveIsToldAndTriedAgainThenTheOtherEye)
{
    Stores stores;
    stores.answer = fileio::Result::failure(ENOSPC).withMessage(QStringLiteral("満杯"));
    PreciseSession measuring = session(stores);
    ASSERT_TRUE(measuring.start());
    playRun(measuring);
    EXPECT_FALSE(measuring.storeResult().ok());
    EXPECT_TRUE(texts::storedText(measuring.storeResult()).startsWith(QStringLiteral("満杯")));
    stores.answer = fileio::Result();
    EXPECT_TRUE(measuring.storeAgain());
    EXPECT_EQ(stores.calls, 2);
    EXPECT_EQ(stores.runs.size(), 1);

    measuring.measureOtherEye();
    EXPECT_EQ(measuring.stage(), PreciseSession::Stage::Setup);
    EXPECT_EQ(measuring.eye(), Eye::Left);
    const std::vector<TrialRecord> firstRun = measuring.run()->trials();
    ASSERT_TRUE(measuring.start());
    // The next run draws orientations of its own.
    std::vector<int> first, second;
    for (const TrialRecord &trial : firstRun)
        first.push_back(trial.orientation);
    playRun(measuring);
    for (const TrialRecord &trial : measuring.run()->trials())
        second.push_back(trial.orientation);
    EXPECT_NE(first, second);
    EXPECT_EQ(stores.runs.last().result.eye, Eye::Left);
}

// Nothing starts without a pitch or at no distance, and the set-up says why.
TEST(PreciseSession, InvalidSetupsStartNothingAndSayWhy)
{
    Stores stores;
    PreciseSession::Screen unknown = measuredScreen();
    unknown.pitchMm.reset();
    PreciseSession noPitch = session(stores, unknown);
    EXPECT_TRUE(noPitch.problem().contains(QStringLiteral("画素の大きさが分からない")));
    EXPECT_TRUE(noPitch.range().isEmpty());
    EXPECT_FALSE(noPitch.start());
    EXPECT_EQ(noPitch.stage(), PreciseSession::Stage::Setup);

    PreciseSession nowhere = session(stores);
    nowhere.setDistanceCm(0);
    EXPECT_TRUE(nowhere.problem().contains(QStringLiteral("距離")));
    EXPECT_FALSE(nowhere.start());
    EXPECT_EQ(stores.calls, 0);

    // A card measured meanwhile lets it start.
    noPitch.setScreen(measuredScreen());
    EXPECT_TRUE(noPitch.problem().isEmpty());
    EXPECT_TRUE(noPitch.start());
}

} // namespace
