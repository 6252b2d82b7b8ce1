#include "platform/focusstepqueue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using mitoon::FocusStepQueue;

namespace {

enum { kStart = 1, kTugi, kKekka, kButton };

struct Recorder
{
    FocusStepQueue queue;
    std::vector<std::string> ran;

    Recorder()
    {
        queue.setStep(kStart, [this] { ran.push_back("start"); });
        queue.setStep(kTugi, [this] { ran.push_back("tugi"); });
        queue.setStep(kKekka, [this] { ran.push_back("kekka"); });
    }
};

} // namespace

TEST(FocusStepQueue, StepRunsOnlyAfterTheMovingHandlerReturns)
{
    Recorder r;
    r.queue.focusGained(kTugi);
    EXPECT_TRUE(r.ran.empty()); // still inside the handler
    EXPECT_TRUE(r.queue.hasPending());
    r.queue.runPending();
    EXPECT_EQ(r.ran, std::vector<std::string>{"tugi"});
    EXPECT_FALSE(r.queue.hasPending());
}

TEST(FocusStepQueue, SeveralMovesRunInTheOrderOfTheMoves)
{
    Recorder r;
    r.queue.focusGained(kButton);
    r.queue.focusGained(kTugi);
    r.queue.focusGained(kKekka);
    r.queue.focusGained(kTugi);
    r.queue.runPending();
    EXPECT_EQ(r.ran, (std::vector<std::string>{"tugi", "kekka", "tugi"}));
}

TEST(FocusStepQueue, MoveToTheFocusedControlRunsNothing)
{
    Recorder r;
    EXPECT_TRUE(r.queue.focusGained(kTugi));
    EXPECT_FALSE(r.queue.focusGained(kTugi));
    r.queue.runPending();
    EXPECT_EQ(r.ran.size(), 1u);
    // A control without a step takes the focus but queues nothing.
    EXPECT_FALSE(r.queue.focusGained(kButton));
    EXPECT_EQ(r.queue.focusedControl(), kButton);
}

TEST(FocusStepQueue, StepThatMovesTheFocusQueuesBehindItself)
{
    FocusStepQueue queue;
    std::vector<std::string> ran;
    queue.setStep(kStart, [&] {
        queue.focusGained(kTugi);
        ran.push_back("start done");
    });
    queue.setStep(kTugi, [&] { ran.push_back("tugi"); });
    queue.focusGained(kStart);
    queue.runPending();
    EXPECT_EQ(ran, (std::vector<std::string>{"start done", "tugi"}));
}

TEST(FocusStepQueue, NestedRunDoesNotOvertakeTheQueue)
{
    FocusStepQueue queue;
    std::vector<std::string> ran;
    queue.setStep(kStart, [&] {
        queue.focusGained(kTugi);
        queue.runPending(); // e.g. from a nested event loop: must not run tugi inside start
        ran.push_back("start done");
    });
    queue.setStep(kTugi, [&] { ran.push_back("tugi"); });
    queue.focusGained(kStart);
    queue.runPending();
    EXPECT_EQ(ran, (std::vector<std::string>{"start done", "tugi"}));
}
