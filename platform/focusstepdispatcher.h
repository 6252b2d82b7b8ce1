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
// A window that loses activation and gets it back, or a menu that closes, hands the focus back
// to the same widget; the queue sees no move then and runs nothing.
class FocusStepDispatcher : public QObject
{
    Q_OBJECT
public:
    explicit FocusStepDispatcher(QWidget *window);

    // `widget` runs `step` whenever it gains the focus.
    void setStep(QWidget *widget, FocusStepQueue::Step step);

    const FocusStepQueue &queue() const { return queue_; }

private:
    void onFocusChanged(QWidget *old, QWidget *now);
    void runPending();

    QWidget *window_;
    FocusStepQueue queue_;
    QHash<const QWidget *, int> ids_;
    bool flushPosted_ = false;
};

} // namespace mitoon
