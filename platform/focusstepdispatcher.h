#pragma once

#include "platform/focusstepqueue.h"

#include <QHash>
#include <QObject>
#include <QPointer>

class QWidget;

namespace mitoon {

// Feeds the focus gains of one window into a FocusStepQueue. Qt delivers focus-in inside
// setFocus(); the dispatcher only queues the step there and runs the queue from a posted call,
// that is once the handler that moved the focus has returned to the event loop.
// A menu that closes hands the focus back to the same widget; the queue sees no move then and
// runs nothing. What a window that loses activation and gets it back does depends on `leaving`.
class FocusStepDispatcher : public QObject
{
    Q_OBJECT
public:
    // What the focus leaving the window means for the control that had it.
    enum class Leaving {
        // Nothing: coming back to the same control is no move and runs no step, so a test goes
        // on where it was while the user looks at another window.
        IsNoMove,
        // The control loses the focus with its window: coming back runs its step again, as for
        // a box that reloads whenever it gains the focus.
        LosesTheFocus,
    };

    explicit FocusStepDispatcher(QWidget *window, Leaving leaving = Leaving::IsNoMove);

    // `widget` runs `step` whenever it gains the focus.
    void setStep(QWidget *widget, FocusStepQueue::Step step);

private:
    void onFocusChanged(QWidget *old, QWidget *now);
    void runPending();

    QWidget *window_;
    Leaving leaving_;
    FocusStepQueue queue_;
    QHash<const QWidget *, int> ids_;
    bool flushPosted_ = false;
};

} // namespace mitoon
