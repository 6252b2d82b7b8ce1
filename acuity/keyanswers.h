#pragma once

#include "acuity/acuityform.h"

#include <Qt>
#include <optional>

namespace mitoon {

// What a key pressed in the main window does. The numeric keypad runs the whole test from the
// viewing distance: its digits lie the way the gaps point (5 in the middle is "見えない"), "/"
// and "*" choose the eye and Enter starts. During a test the main keyboard's arrow keys answer
// as well. A key answer is the press of the control: the window gives it the focus and runs
// its click handler, so the answer takes exactly the way of a click.
struct KeyAction
{
    enum Kind {
        passOn, // the key goes to the control with the focus, as any other key
        ignore, // the key does nothing at all
        answer, // the press of the direction button `control`, or of the ring for "見えない"
        click,  // a click on the option button `control`
        focus,  // `control` gains the focus
    };
    Kind kind = passOn;
    Control control = Control::tugi;
};

// Where the focus is, as far as the keys care.
enum class KeyFocus {
    other,
    // The display-size or distance box: a value can be typed there with the keypad's digits.
    numberBox,
    // A push button: Enter presses it.
    pushButton,
};

// The action of `key` with `modifiers` as Qt reports them (the keypad's keys carry
// Qt::KeypadModifier; with NumLock off its digits arrive as the navigation keys printed under
// them, 5 as Key_Clear). `running`: a test is running.
KeyAction keyAction(int key, Qt::KeyboardModifiers modifiers, bool running, KeyFocus focus);

// The same keys as answers of "精密測定": the orientation (1 to 8) that the keypad key or, on the
// main keyboard, the arrow key gives, 0 for "見えない" (keypad 5), nothing for any other key.
std::optional<int> answerOrientation(int key, Qt::KeyboardModifiers modifiers);

} // namespace mitoon
