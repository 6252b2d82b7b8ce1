#include "acuity/keyanswers.h"
#include "support/fakeform.h"

#include <gtest/gtest.h>

using namespace mitoon;
using mitoon::testing::Window;

namespace {

constexpr Qt::KeyboardModifiers kPad = Qt::KeypadModifier;
constexpr Qt::KeyboardModifiers kMain = Qt::NoModifier;

struct KeyRow
{
    const char *name;
    int key;
    Qt::KeyboardModifiers modifiers;
    bool running;
    KeyFocus focus;
    KeyAction action;
};

KeyAction answers(Control control)
{
    return {KeyAction::answer, control};
}

const KeyAction kPassOn{KeyAction::passOn};
const KeyAction kIgnore{KeyAction::ignore};
const KeyAction kLeftEye{KeyAction::click, Control::hidarime};
const KeyAction kRightEye{KeyAction::click, Control::migime};
const KeyAction kStart{KeyAction::focus, Control::start};

} // namespace

// Every key the test knows, in both NumLock states, while a test runs and between tests, and
// the keys that must be left alone.
TEST(KeyAnswers, KeyAndStateToAction)
{
    using F = KeyFocus;
    const KeyRow rows[] = {
        // While a test runs the keypad answers with NumLock on ...
        {"pad 8", Qt::Key_8, kPad, true, F::other, answers(Control::ue)},
        {"pad 9", Qt::Key_9, kPad, true, F::other, answers(Control::migiue)},
        {"pad 6", Qt::Key_6, kPad, true, F::other, answers(Control::migi)},
        {"pad 3", Qt::Key_3, kPad, true, F::other, answers(Control::migisita)},
        {"pad 2", Qt::Key_2, kPad, true, F::other, answers(Control::sita)},
        {"pad 1", Qt::Key_1, kPad, true, F::other, answers(Control::hidarisita)},
        {"pad 4", Qt::Key_4, kPad, true, F::other, answers(Control::hidari)},
        {"pad 7", Qt::Key_7, kPad, true, F::other, answers(Control::hidariue)},
        {"pad 5", Qt::Key_5, kPad, true, F::other, answers(Control::randort)},
        // ... and off, whichever control has the focus.
        {"pad Up", Qt::Key_Up, kPad, true, F::other, answers(Control::ue)},
        {"pad PageUp", Qt::Key_PageUp, kPad, true, F::other, answers(Control::migiue)},
        {"pad Right", Qt::Key_Right, kPad, true, F::other, answers(Control::migi)},
        {"pad PageDown", Qt::Key_PageDown, kPad, true, F::other, answers(Control::migisita)},
        {"pad Down", Qt::Key_Down, kPad, true, F::other, answers(Control::sita)},
        {"pad End", Qt::Key_End, kPad, true, F::pushButton, answers(Control::hidarisita)},
        {"pad Left", Qt::Key_Left, kPad, true, F::other, answers(Control::hidari)},
        {"pad Home", Qt::Key_Home, kPad, true, F::other, answers(Control::hidariue)},
        {"pad Clear", Qt::Key_Clear, kPad, true, F::pushButton, answers(Control::randort)},
        // The main keyboard's arrows answer four directions; its digits and other navigation
        // keys do not, nor does a key held with Shift or Ctrl.
        {"Up", Qt::Key_Up, kMain, true, F::other, answers(Control::ue)},
        {"Right", Qt::Key_Right, kMain, true, F::pushButton, answers(Control::migi)},
        {"Down", Qt::Key_Down, kMain, true, F::other, answers(Control::sita)},
        {"Left", Qt::Key_Left, kMain, true, F::other, answers(Control::hidari)},
        {"8", Qt::Key_8, kMain, true, F::other, kPassOn},
        {"Home", Qt::Key_Home, kMain, true, F::other, kPassOn},
        {"Shift pad Up", Qt::Key_Up, kPad | Qt::ShiftModifier, true, F::other, kPassOn},
        {"Ctrl Up", Qt::Key_Up, Qt::ControlModifier, true, F::other, kPassOn},
        // During a test the eye and start keys do nothing; Enter still presses a focused
        // direction button.
        {"pad / running", Qt::Key_Slash, kPad, true, F::other, kIgnore},
        {"pad * running", Qt::Key_Asterisk, kPad, true, F::other, kIgnore},
        {"pad Enter running", Qt::Key_Enter, kPad, true, F::other, kIgnore},
        {"pad Enter on a button", Qt::Key_Enter, kPad, true, F::pushButton, kPassOn},
        // The rest of the keypad is not the test's.
        {"pad 0", Qt::Key_0, kPad, true, F::other, kPassOn},
        {"pad .", Qt::Key_Period, kPad, true, F::other, kPassOn},
        {"pad Delete", Qt::Key_Delete, kPad, true, F::other, kPassOn},
        {"pad +", Qt::Key_Plus, kPad, false, F::other, kPassOn},

        // Between tests the keypad chooses the eye and starts ...
        {"pad /", Qt::Key_Slash, kPad, false, F::other, kLeftEye},
        {"pad *", Qt::Key_Asterisk, kPad, false, F::other, kRightEye},
        {"pad / in a box", Qt::Key_Slash, kPad, false, F::numberBox, kLeftEye},
        {"pad Enter", Qt::Key_Enter, kPad, false, F::other, kStart},
        {"pad Enter in a box", Qt::Key_Enter, kPad, false, F::numberBox, kStart},
        {"pad Enter on the save button", Qt::Key_Enter, kPad, false, F::pushButton, kPassOn},
        {"Enter", Qt::Key_Enter, kMain, false, F::other, kPassOn},
        // ... its answer keys do nothing, in either NumLock state ...
        {"pad 8 between", Qt::Key_8, kPad, false, F::other, kIgnore},
        {"pad 5 between", Qt::Key_5, kPad, false, F::pushButton, kIgnore},
        {"pad Up between", Qt::Key_Up, kPad, false, F::other, kIgnore},
        {"pad Clear between", Qt::Key_Clear, kPad, false, F::other, kIgnore},
        // ... except in the display-size and distance boxes, where they type or pick a value ...
        {"pad 1 in a box", Qt::Key_1, kPad, false, F::numberBox, kPassOn},
        {"pad Down in a box", Qt::Key_Down, kPad, false, F::numberBox, kPassOn},
        // ... and the main keyboard's arrows move as they always have.
        {"Up between", Qt::Key_Up, kMain, false, F::other, kPassOn},
        {"Left on a button", Qt::Key_Left, kMain, false, F::pushButton, kPassOn},
    };
    for (const KeyRow &row : rows) {
        SCOPED_TRACE(row.name);
        const KeyAction action = keyAction(row.key, row.modifiers, row.running, row.focus);
        EXPECT_EQ(action.kind, row.action.kind);
        if (action.kind != KeyAction::passOn && action.kind != KeyAction::ignore)
            EXPECT_EQ(action.control, row.action.control);
    }
}

// "見えない" is wrong whatever ring is on view, even before the first ring of the window has
// been drawn, and shrinks the ring by 0.8; two of them in a row end the test.
TEST(KeyAnswers, CannotSeeIsAlwaysWrong)
{
    for (int orientation = 1; orientation <= 8; ++orientation) {
        Window w(mitoon::testing::countingRandom(std::uint64_t(orientation) * 1000));
        w.startTest();
        const float width = w.form.width, height = w.form.height;
        w.press(Control::randort);
        EXPECT_EQ(w.form.texts[Control::matigaihyouji], "1") << "orientation " << w.orientation();
        EXPECT_EQ(w.test.tensuu().integerValue(), 10);
        EXPECT_EQ(w.form.width, float(double(width) * 0.8));
        EXPECT_EQ(w.form.height, float(double(height) * 0.8));
    }
    Window w;
    w.test.startGotFocus(); // no ring drawn yet: `houkou` is empty, which equals 0
    ASSERT_TRUE(w.test.houkou().isEmpty());
    w.test.answer(Control::randort);
    EXPECT_EQ(w.test.matigai().integerValue(), 1);
    w.form.focus.runPending();
    w.form.log.clear();
    w.press(Control::randort);
    EXPECT_EQ(w.form.log, (std::vector<std::string>{"tugi", "kekka", "tugi"}));
    EXPECT_EQ(w.form.texts[Control::siryokuhyouji], "0.1");
}
