#pragma once

#include <deque>
#include <functional>
#include <map>

namespace mitoon {

// Runs "got focus" steps in the order the test relies on:
//  1. a step never runs inside the handler that moved the focus, only after it has returned;
//  2. several moves give their steps afterwards, one after the other, in the order of the moves;
//  3. a move to the control that already has the focus runs no step;
//  4. a focus gain caused by the user runs the step in the same way.
// Controls are plain numbers so that the ordering can be tested without any window; the window
// side reports every focus gain with focusGained() and calls runPending() once the handler that
// caused it has returned.
class FocusStepQueue
{
public:
    using Step = std::function<void()>;
    static constexpr int kNoControl = -1;

    void setStep(int control, Step step);

    // Records that `control` now has the focus. Returns true when that queued a step.
    bool focusGained(int control);
    int focusedControl() const { return focused_; }

    bool hasPending() const { return !pending_.empty(); }
    // Runs the queued steps in order; steps queued by a running step run after it returns.
    // A call made while steps are already running does nothing: the outer call drains the queue.
    void runPending();

private:
    std::map<int, Step> steps_;
    std::deque<int> pending_;
    int focused_ = kNoControl;
    bool running_ = false;
};

} // namespace mitoon
