#pragma once

#include "acuity/ringfit.h"

#include <QString>
#include <array>

namespace mitoon {

// The controls of the main window that the test reads and writes.
enum class Control {
    inti,
    cm,
    start,
    tugi,
    kekka,
    kekkadesu,
    siryokuhyouji,
    matigaihyouji,
    matigaikoumoku,
    kekkakiroku,
    ue,
    migiue,
    migi,
    migisita,
    sita,
    hidari,
    hidariue,
    hidarisita,
    hidarime,
    migime,
    randort
};

// One direction button: the orientation it accepts and how much an answer with it shrinks the
// ring. The lower-right button shrinks by 0.85, every other one by 0.8. The array index is the
// button's index in its handler; it is not the orientation (hidari, index 5, accepts 7).
struct AnswerButton
{
    Control control;
    int index;
    int accepts;
    double shrink;
};

inline constexpr double kShrink = 0.8;
inline constexpr double kLowerRightShrink = 0.85;

inline constexpr std::array<AnswerButton, 8> kAnswerButtons{{
    {Control::ue, 0, 1, kShrink},
    {Control::migiue, 1, 2, kShrink},
    {Control::migi, 2, 3, kShrink},
    {Control::migisita, 3, 4, kLowerRightShrink},
    {Control::sita, 4, 5, kShrink},
    {Control::hidari, 5, 7, kShrink},
    {Control::hidariue, 6, 8, kShrink},
    {Control::hidarisita, 7, 6, kShrink},
}};

// "見えない" (cannot see), the answer given by pressing the ring itself: it accepts no
// orientation, not even the 0 of an empty `houkou`, so it always counts as wrong, and it shrinks
// the ring by 0.8 as a plain button does. It has no button and no array index.
inline constexpr AnswerButton kCannotSee{Control::randort, -1, -1, kShrink};

// The button that accepts `orientation` (1 to 8).
const AnswerButton &buttonAccepting(int orientation);
// The answer of a direction button, or kCannotSee for the ring.
const AnswerButton &answerButton(Control control);

// What the test needs of the window: texts, enabling, the eye buttons, the ring's extents in
// ring units, its picture and the room the window has for it, the focus, the beep and the
// status bar message. The main window implements it; the tests implement it without any widget.
class AcuityForm
{
public:
    virtual ~AcuityForm() = default;

    virtual QString text(Control control) const = 0;
    virtual void setText(Control control, const QString &text) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;
    virtual void setVisible(Control control, bool visible) = 0;
    // Selects an option button, clearing the other of its group; runs no click handler.
    virtual void setChecked(Control control, bool checked) = 0;
    // A focus move; the control's focus step runs after the calling handler has returned.
    virtual void setFocus(Control control) = 0;

    virtual float ringWidth() const = 0;
    virtual float ringHeight() const = 0;
    virtual void setRingWidth(float units) = 0;
    virtual void setRingHeight(float units) = 0;
    // 0 is the closed ring, 1 to 8 the ring with its gap in that orientation.
    virtual void setRingPicture(int orientation) = 0;
    // The room for the ring, and growing the window (within its screen) to a larger room.
    virtual RingRoom ringRoom() const = 0;
    virtual void growRingRoom(double widthTwips, double heightTwips) = 0;

    virtual void beep() = 0;
    virtual void setStatusText(const QString &text) = 0;
};

} // namespace mitoon
