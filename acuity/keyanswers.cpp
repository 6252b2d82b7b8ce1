#include "acuity/keyanswers.h"

#include <algorithm>

namespace mitoon {

namespace {

// The keypad by the places of its keys: the key with NumLock on, the key with NumLock off, and
// the answer of that place.
struct PadKey
{
    int numLockOn;
    int numLockOff;
    Control answer;
};

constexpr PadKey kPad[] = {
    {Qt::Key_8, Qt::Key_Up, Control::ue},
    {Qt::Key_9, Qt::Key_PageUp, Control::migiue},
    {Qt::Key_6, Qt::Key_Right, Control::migi},
    {Qt::Key_3, Qt::Key_PageDown, Control::migisita},
    {Qt::Key_2, Qt::Key_Down, Control::sita},
    {Qt::Key_1, Qt::Key_End, Control::hidarisita},
    {Qt::Key_4, Qt::Key_Left, Control::hidari},
    {Qt::Key_7, Qt::Key_Home, Control::hidariue},
    {Qt::Key_5, Qt::Key_Clear, kCannotSee.control},
};

struct ArrowKey
{
    int key;
    Control answer;
};

constexpr ArrowKey kArrows[] = {
    {Qt::Key_Up, Control::ue},
    {Qt::Key_Right, Control::migi},
    {Qt::Key_Down, Control::sita},
    {Qt::Key_Left, Control::hidari},
};

KeyAction keypadAction(int key, bool running, KeyFocus focus)
{
    if (key == Qt::Key_Enter) {
        if (focus == KeyFocus::pushButton)
            return {}; // Enter presses the focused button, as it always has
        return running ? KeyAction{KeyAction::ignore} : KeyAction{KeyAction::focus, Control::start};
    }
    if (key == Qt::Key_Slash || key == Qt::Key_Asterisk) {
        if (running)
            return {KeyAction::ignore};
        return {KeyAction::click, key == Qt::Key_Slash ? Control::hidarime : Control::migime};
    }
    for (const PadKey &pad : kPad) {
        if (key != pad.numLockOn && key != pad.numLockOff)
            continue;
        if (running)
            return {KeyAction::answer, pad.answer};
        // Between tests the answer keys do nothing, except that a size or a distance can
        // still be typed with them.
        return focus == KeyFocus::numberBox ? KeyAction{} : KeyAction{KeyAction::ignore};
    }
    return {};
}

} // namespace

std::optional<int> answerOrientation(int key, Qt::KeyboardModifiers modifiers)
{
    const KeyAction action = keyAction(key, modifiers, true, KeyFocus::other);
    if (action.kind != KeyAction::answer)
        return std::nullopt;
    return std::max(answerButton(action.control).accepts, 0);
}

KeyAction keyAction(int key, Qt::KeyboardModifiers modifiers, bool running, KeyFocus focus)
{
    if (modifiers == Qt::KeypadModifier)
        return keypadAction(key, running, focus);
    if (modifiers != Qt::NoModifier || !running)
        return {};
    for (const ArrowKey &arrow : kArrows)
        if (key == arrow.key)
            return {KeyAction::answer, arrow.answer};
    return {};
}

} // namespace mitoon
