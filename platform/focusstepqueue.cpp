#include "platform/focusstepqueue.h"

namespace mitoon {

void FocusStepQueue::setStep(int control, Step step)
{
    steps_[control] = std::move(step);
}

bool FocusStepQueue::focusGained(int control)
{
    if (control == focused_)
        return false;
    focused_ = control;
    if (!steps_.contains(control))
        return false;
    pending_.push_back(control);
    return true;
}

void FocusStepQueue::runPending()
{
    if (running_)
        return;
    running_ = true;
    struct Done
    {
        bool &running;
        ~Done() { running = false; }
    } done{running_};
    while (!pending_.empty()) {
        const int control = pending_.front();
        pending_.pop_front();
        // Copy: a step may replace the steps table while it runs.
        const Step step = steps_[control];
        if (step)
            step();
    }
}

} // namespace mitoon
