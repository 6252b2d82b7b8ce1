#include "support/fakeform.h"

#include <gtest/gtest.h>

using namespace mitoon;
using mitoon::testing::Window;

namespace {
double widthTwips(const Window &w)
{
    return w.form.width * double(kTwipsPerHorizontalUnit);
}
double heightTwips(const Window &w)
{
    return w.form.height * double(kTwipsPerVerticalUnit);
}
} // namespace

TEST(Calibration, PickingAnItemSizesTheRingFromBothBoxes)
{
    Window w;
    w.form.texts[Control::inti] = "19"; // typed, not picked
    w.form.texts[Control::cm] = "150";
    w.test.calibrate(Control::cm);
    EXPECT_NEAR(widthTwips(w), 930 * 14.0 / 19 * 1.5, 0.5);
    EXPECT_NEAR(heightTwips(w), 810 * 14.0 / 19 * 1.5, 0.5);
    EXPECT_EQ(w.test.gamensize().toText(), "19");
    // Calibrating again with the same texts gives the same extents.
    const float width = w.form.width;
    w.test.calibrate(Control::cm);
    EXPECT_EQ(w.form.width, width);
}

// A text in the box picked that gives no ring changes nothing. "1e48" gives a width (a
// denormal single) but a height of 0: neither extent may change alone.
TEST(Calibration, BadTextsChangeNothing)
{
    Window w;
    w.form.texts[Control::inti] = "12";
    w.test.calibrate(Control::inti);
    const float width = w.form.width, height = w.form.height;
    for (const char *bad : {"", "abc", "0", "-5", "1e400", "1e48"}) {
        SCOPED_TRACE(bad);
        w.form.texts[Control::inti] = bad;
        w.test.calibrate(Control::inti);
        EXPECT_EQ(w.form.width, width);
        EXPECT_EQ(w.form.height, height);
        EXPECT_EQ(w.test.gamensize().toText(), "12");
    }
}

struct OtherBoxRow
{
    Control picked;
    const char *pickedText;
    const char *otherText;
    const char *reset;
    double widthTwips;
};

// A pick always goes through: a text in the other box that gives no ring returns to the
// reference text of that box.
TEST(Calibration, APickWithAnUnusableTextInTheOtherBoxResetsThatBox)
{
    const OtherBoxRow rows[] = {
        {Control::inti, "12", "abc", "100", 1085}, {Control::inti, "16", "0", "100", 813.75},
        {Control::cm, "300", "", "14", 2790},      {Control::cm, "150", "1e48", "14", 1395},
        {Control::cm, "200", "-19", "14", 1860},
    };
    for (const OtherBoxRow &row : rows) {
        SCOPED_TRACE(row.otherText);
        Window w;
        const Control other = row.picked == Control::inti ? Control::cm : Control::inti;
        w.form.texts[row.picked] = row.pickedText;
        w.form.texts[other] = row.otherText;
        w.test.calibrate(row.picked);
        EXPECT_EQ(w.form.texts[other], row.reset);
        EXPECT_EQ(w.form.texts[row.picked], row.pickedText);
        EXPECT_NEAR(widthTwips(w), row.widthTwips, 0.5);
        EXPECT_EQ(w.test.gamensize().toText(), w.form.texts[Control::inti]);
        EXPECT_EQ(w.test.kyori().toText(), w.form.texts[Control::cm]);
    }
}

TEST(TestStart, WithoutCalibrationUsesTheReferenceSize)
{
    Window w;
    w.startTest();
    EXPECT_NEAR(widthTwips(w), 930, 0.5);
    EXPECT_NEAR(heightTwips(w), 810, 0.5);
    EXPECT_GE(w.orientation(), 1);
    EXPECT_LE(w.orientation(), 8);
    EXPECT_EQ(w.form.picture, w.orientation());
    EXPECT_EQ(w.form.log, (std::vector<std::string>{"start", "tugi"}));
    EXPECT_FALSE(w.form.enabled[Control::start]);
    EXPECT_FALSE(w.form.enabled[Control::inti]);
    EXPECT_FALSE(w.form.enabled[Control::cm]);
    for (const AnswerButton &b : kAnswerButtons)
        EXPECT_TRUE(w.form.enabled[b.control]);
    EXPECT_EQ(w.form.texts[Control::matigaihyouji], "0");
    EXPECT_EQ(w.form.texts[Control::matigaikoumoku], "間違い");
}

struct RangeRow
{
    const char *box;
    const char *typed;
    const char *kept;
};

class TestStartRange : public ::testing::TestWithParam<RangeRow>
{
};

TEST_P(TestStartRange, KeepsTheBoxTextsInRange)
{
    const RangeRow row = GetParam();
    Window w;
    const Control box = QString(row.box) == "inti" ? Control::inti : Control::cm;
    w.form.texts[box] = row.typed;
    w.startTest();
    EXPECT_EQ(w.form.texts[box], row.kept);
    // The ring comes from the texts as the start leaves them; they become the setting.
    const double inches = w.form.texts[Control::inti].toDouble();
    const double centimetres = w.form.texts[Control::cm].toDouble();
    EXPECT_NEAR(widthTwips(w), 930 * 14 / inches * centimetres / 100, 0.5);
    EXPECT_EQ(w.test.gamensize().toText(), w.form.texts[Control::inti]);
    EXPECT_EQ(w.test.kyori().toText(), w.form.texts[Control::cm]);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, TestStartRange,
    ::testing::Values(RangeRow{"inti", "8", "14"}, RangeRow{"inti", "40", "14"},
                      RangeRow{"inti", "24", "24"}, RangeRow{"cm", "175", "175"},
                      RangeRow{"inti", "12", "12"}, RangeRow{"inti", "32", "32"},
                      RangeRow{"inti", "abc", "14"}, RangeRow{"inti", "", "14"},
                      RangeRow{"cm", "350", "100"}, RangeRow{"cm", "50", "100"},
                      RangeRow{"cm", "100", "100"}, RangeRow{"cm", "300", "300"},
                      RangeRow{"cm", "xyz", "100"}));

TEST(TestStart, TypedTextTakenOverByACalibrationSizesTheRingForTheBoxAsTheStartLeavesIt)
{
    Window w;
    w.form.texts[Control::inti] = "40";
    w.form.texts[Control::cm] = "100";
    w.test.calibrate(Control::cm); // a pick in the distance box reads the typed 40 too
    EXPECT_NEAR(widthTwips(w), 930 * 14.0 / 40, 0.5);
    w.startTest();
    EXPECT_NEAR(widthTwips(w), 930, 0.5);
    EXPECT_EQ(w.form.texts[Control::inti], "14");
}

TEST(Answers, ScoreMistakesAndTheRingAfterEachAnswer)
{
    Window w;
    w.startTest();
    w.answerWrong();
    EXPECT_EQ(w.form.texts[Control::matigaihyouji], "1");
    w.answerRight();
    EXPECT_EQ(w.form.texts[Control::matigaihyouji], "0");
    EXPECT_EQ(w.test.saigotensuu(), 10);
    EXPECT_EQ(w.test.tensuu().integerValue(), 20);
    w.answerWrong();
    EXPECT_EQ(w.form.texts[Control::matigaihyouji], "1");
    EXPECT_TRUE(w.test.running());
}

TEST(Answers, JudgingGoesByTheTableNotTheIndex)
{
    EXPECT_EQ(answerButton(Control::hidarisita).accepts, 6);
    EXPECT_EQ(answerButton(Control::hidarisita).index, 7);
    EXPECT_EQ(answerButton(Control::hidari).accepts, 7);
    EXPECT_EQ(answerButton(Control::hidariue).accepts, 8);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        Window w(mitoon::testing::countingRandom(std::uint64_t(orientation) * 1000));
        w.startTest();
        const int shown = w.orientation();
        w.press(buttonAccepting(shown).control);
        EXPECT_EQ(w.test.saigotensuu(), 10) << "orientation " << shown;
    }
}

TEST(Answers, LowerRightShrinksByPointEightFiveRightOrWrong)
{
    for (bool right : {true, false}) {
        Window w;
        w.startTest();
        while ((w.orientation() == 4) != right) // get a ring that makes 右下 right or wrong
            w.redraw();
        w.press(Control::migisita);
        EXPECT_NEAR(widthTwips(w), 930 * 0.85, 0.5);
        EXPECT_NEAR(heightTwips(w), 810.08 * 0.85, 0.5);
    }
    Window w;
    w.startTest();
    w.press(Control::ue);
    EXPECT_NEAR(widthTwips(w), 744, 0.5);
    EXPECT_NEAR(heightTwips(w), 648, 0.5);
}

TEST(Answers, ShrinkTableAfterManyAnswers)
{
    Window w;
    w.startTest();
    const std::map<int, std::pair<double, double>> table = {
        {1, {744, 648}}, {2, {595, 518}}, {5, {305, 265}}, {10, {99.9, 87.0}}, {20, {10.7, 9.3}}};
    for (int answers = 1; answers <= 20; ++answers) {
        // Right answers only with 0.8-buttons: skip rings that only 右下 accepts.
        while (w.orientation() == 4)
            w.redraw();
        w.answerRight();
        if (const auto row = table.find(answers); row != table.end()) {
            EXPECT_NEAR(widthTwips(w), row->second.first, 0.5) << answers;
            EXPECT_NEAR(heightTwips(w), row->second.second, 0.5) << answers;
        }
    }
    // Judging still works on a ring smaller than a pixel.
    EXPECT_LT(widthTwips(w), 15);
    EXPECT_EQ(w.test.saigotensuu(), 200);
}

TEST(Answers, EndingAnswerRunsNextTrialResultNextTrialWithTheCountShownAndRingShrunk)
{
    Window w;
    w.form.focus.setStep(int(Control::kekka), [&w] {
        w.form.log.push_back("kekka");
        EXPECT_EQ(w.form.texts[Control::matigaihyouji], "2");
        EXPECT_NEAR(w.form.width * double(kTwipsPerHorizontalUnit), 930 * 0.8 * 0.8, 0.5);
        w.test.kekkaGotFocus();
    });
    w.startTest();
    w.answerWrong();
    w.form.log.clear();
    w.answerWrong();
    EXPECT_EQ(w.form.log, (std::vector<std::string>{"tugi", "kekka", "tugi"}));
    EXPECT_EQ(w.form.beeps, 1);
    EXPECT_FALSE(w.test.running());
}

TEST(Answers, ScoreSaturatesInsteadOfWrapping)
{
    Window w;
    w.startTest();
    for (int i = 0; i < 3300; ++i)
        w.answerRight();
    EXPECT_EQ(w.test.tensuu().integerValue(), AcuityTest::kScoreLimit);
    EXPECT_EQ(w.test.saigotensuu(), AcuityTest::kScoreLimit);
    w.answerWrong();
    w.answerWrong();
    EXPECT_EQ(w.form.texts[Control::siryokuhyouji], "327.7");
}

struct ResultRow
{
    int right;
    const char *first;
    const char *later;
};

class Results : public ::testing::TestWithParam<ResultRow>
{
};

// Every test, the first after loading and each later one, scores 0.1 × (k + 1).
TEST_P(Results, SameScaleInEveryTest)
{
    const ResultRow row = GetParam();
    Window w;
    w.playTest(row.right);
    EXPECT_EQ(w.form.texts[Control::siryokuhyouji], row.first);
    w.playTest(row.right);
    EXPECT_EQ(w.form.texts[Control::siryokuhyouji], row.later);
}

INSTANTIATE_TEST_SUITE_P(Scores, Results,
                         ::testing::Values(ResultRow{0, "0.1", "0.1"}, ResultRow{1, "0.2", "0.2"},
                                           ResultRow{7, "0.8", "0.8"}, ResultRow{9, "1", "1"},
                                           ResultRow{14, "1.5", "1.5"}));

TEST(Results, SentenceStoreAndReadyForTheNextTest)
{
    Window w;
    w.test.selectEye(1);
    EXPECT_EQ(w.form.status, "左目測定中");
    w.playTest(7);
    EXPECT_EQ(w.form.texts[Control::kekka], "あなたの左目の視力は");
    EXPECT_EQ(w.form.texts[Control::kekkadesu], "です");
    EXPECT_EQ(w.test.hidarikekka().toText(), "0.8");
    EXPECT_TRUE(w.test.migikekka().isEmpty());
    EXPECT_TRUE(w.form.enabled[Control::start]);
    EXPECT_TRUE(w.form.enabled[Control::inti]);
    EXPECT_TRUE(w.form.enabled[Control::cm]);
    for (const AnswerButton &b : kAnswerButtons)
        EXPECT_FALSE(w.form.enabled[b.control]);
    EXPECT_EQ(w.form.texts[Control::matigaihyouji], "2"); // stays until the next start
    EXPECT_EQ(w.test.tensuu().integerValue(), AcuityTest::kStartScore);
    EXPECT_EQ(w.test.saigotensuu(), 0);
}

TEST(Results, NoEyeSelectedMeasuresTheLeftEye)
{
    Window w;
    w.playTest(2);
    EXPECT_EQ(w.form.texts[Control::kekka], "あなたの左目の視力は");
    EXPECT_EQ(w.form.texts[Control::siryokuhyouji], "0.3");
    EXPECT_EQ(w.form.texts[Control::kekkadesu], "です");
    EXPECT_EQ(w.test.hidarikekka().toText(), "0.3");
    EXPECT_TRUE(w.test.migikekka().isEmpty());
    EXPECT_FALSE(w.form.visible[Control::kekkakiroku]);
}

TEST(Results, SaveButtonOnceBothEyesHaveAResultInEitherOrder)
{
    for (int first : {1, 2}) {
        Window w;
        w.test.selectEye(first);
        w.playTest(3);
        EXPECT_FALSE(w.form.visible[Control::kekkakiroku]);
        w.test.selectEye(3 - first);
        w.playTest(5);
        EXPECT_TRUE(w.form.visible[Control::kekkakiroku]);
    }
}

TEST(Results, EyeChangedDuringATestGetsTheResult)
{
    Window w;
    w.test.selectEye(1);
    w.startTest();
    w.answerRight();
    w.test.selectEye(2);
    w.answerWrong();
    w.answerWrong();
    EXPECT_TRUE(w.test.hidarikekka().isEmpty());
    EXPECT_EQ(w.test.migikekka().toText(), "0.2");
    EXPECT_EQ(w.form.texts[Control::kekka], "あなたの右目の視力は");
}

TEST(Results, ClickIntoTheResultBox)
{
    Window w;
    w.test.selectEye(1);
    w.playTest(7);
    // After a finished test a click changes nothing: the measured 0.8 stays.
    w.focusByUser(Control::kekka);
    EXPECT_EQ(w.test.hidarikekka().toText(), "0.8");
    EXPECT_EQ(w.form.beeps, 1);
    // During a running test it ends the test with the current score.
    w.startTest();
    w.answerRight();
    w.answerRight();
    w.focusByUser(Control::kekka);
    EXPECT_EQ(w.form.beeps, 2);
    EXPECT_EQ(w.test.hidarikekka().toText(), "0.3");
    EXPECT_FALSE(w.test.running());
}

TEST(Trials, ClickIntoTugiDrawsANewRingOnly)
{
    Window w;
    w.startTest();
    w.answerRight();
    w.answerWrong();
    const float width = w.form.width;
    const auto score = w.test.tensuu().integerValue();
    w.focusByUser(Control::kekkadesu);
    w.form.log.clear();
    w.focusByUser(Control::tugi);
    EXPECT_EQ(w.form.log, std::vector<std::string>{"tugi"});
    EXPECT_EQ(w.form.width, width);
    EXPECT_EQ(w.test.tensuu().integerValue(), score);
    EXPECT_EQ(w.form.texts[Control::matigaihyouji], "1");
}

TEST(TestStart, WithoutAnEyeMeasuresTheLeftEyeAndAChosenEyeStays)
{
    Window w;
    w.startTest();
    EXPECT_TRUE(w.form.checked[Control::hidarime]);
    EXPECT_EQ(w.form.status, "左目測定中");
    EXPECT_TRUE(w.test.sokuteime().equals(1));

    Window right;
    right.test.selectEye(2);
    right.startTest();
    EXPECT_FALSE(right.form.checked[Control::hidarime]);
    EXPECT_EQ(right.form.status, "右目測定中");
    EXPECT_TRUE(right.test.sokuteime().equals(2));
}

TEST(RingRoom, AStartWithARingPastTheClientAreaGrowsTheWindow)
{
    Window w;
    w.form.texts[Control::inti] = "12"; // typed, never picked
    w.form.texts[Control::cm] = "300";
    w.startTest();
    EXPECT_TRUE(w.test.running());
    EXPECT_EQ(w.form.grown, 1);
    EXPECT_NEAR(w.form.room.width, 3255, 0.5);
    EXPECT_EQ(w.form.room.height, 7830 - 840 - 270); // tall enough already
}

// On a screen of 480 × 360 pixels the ring of 12 inches at 300 cm (217 pixels wide, right of
// x = 296) cannot be shown whole: the window grows as far as it can, and no test starts.
TEST(RingRoom, ARingTheWholeScreenCannotShowStartsNoTest)
{
    Window w;
    w.form.room = {2205, 6720, (480 - 296) * 15, (360 - 20 - 18 - 56) * 15};
    w.form.texts[Control::inti] = "12";
    w.form.texts[Control::cm] = "300";
    w.test.calibrate(Control::cm);
    EXPECT_EQ(w.form.room.width, w.form.room.maxWidth);
    const QString message = "画面に入りません:250cm以下か16ｲﾝﾁ以上に";
    EXPECT_EQ(w.form.status, message);

    const auto texts = w.form.texts;
    const auto enabled = w.form.enabled;
    const float width = w.form.width, height = w.form.height;
    w.form.log.clear();
    w.startTest();
    EXPECT_EQ(w.form.log, std::vector<std::string>{"start"}); // no ring drawn
    EXPECT_FALSE(w.test.running());
    EXPECT_EQ(w.form.texts, texts);
    EXPECT_EQ(w.form.enabled, enabled);
    EXPECT_EQ(w.form.width, width);
    EXPECT_EQ(w.form.height, height);
    EXPECT_TRUE(w.form.checked.empty());
    EXPECT_TRUE(w.test.sokuteime().isEmpty());
    EXPECT_EQ(w.form.status, message);

    // At a distance that fits, the message gives way and the test starts.
    w.focusByUser(Control::cm);
    w.form.texts[Control::cm] = "250";
    w.test.calibrate(Control::cm);
    EXPECT_EQ(w.form.status, "");
    w.startTest();
    EXPECT_TRUE(w.test.running());
    EXPECT_EQ(w.form.status, "左目測定中");
}
