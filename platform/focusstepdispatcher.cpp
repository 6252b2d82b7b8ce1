#include "platform/focusstepdispatcher.h"

#include <QApplication>
#include <QWidget>

namespace mitoon {

namespace {
// Every widget without a step of its own counts as one "other" control.
constexpr int kOtherControl = 0;
} // namespace

FocusStepDispatcher::FocusStepDispatcher(QWidget *window, Leaving leaving)
    : QObject(window), window_(window), leaving_(leaving)
{
    connect(qApp, &QApplication::focusChanged, this, &FocusStepDispatcher::onFocusChanged);
}

void FocusStepDispatcher::setStep(QWidget *widget, FocusStepQueue::Step step)
{
    const int id = int(ids_.size()) + 1;
    ids_.insert(widget, id);
    queue_.setStep(id, std::move(step));
}

void FocusStepDispatcher::onFocusChanged(QWidget *old, QWidget *now)
{
    // Losing the focus to another window or to nothing is no move inside this window. Pop-ups
    // such as a context menu take no focus from the application, so they never get here.
    if (!now || now->window() != window_) {
        if (leaving_ == Leaving::LosesTheFocus && old && old->window() == window_)
            queue_.focusGained(FocusStepQueue::kNoControl);
        return;
    }
    if (!queue_.focusGained(ids_.value(now, kOtherControl)))
        return;
    if (flushPosted_)
        return;
    flushPosted_ = true;
    QMetaObject::invokeMethod(this, &FocusStepDispatcher::runPending, Qt::QueuedConnection);
}

void FocusStepDispatcher::runPending()
{
    flushPosted_ = false;
    queue_.runPending();
}

} // namespace mitoon
