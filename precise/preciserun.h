#pragma once

#include "precise/orientationrandom.h"
#include "precise/posterior.h"
#include "precise/preciseresult.h"
#include "precise/precisetrial.h"
#include "precise/proceduresettings.h"
#include "precise/runsetup.h"
#include "precise/screenrange.h"

#include <QString>
#include <optional>
#include <vector>

namespace mitoon::precise {

// One measurement of one eye with "精密測定": a Bayesian adaptive procedure over eight
// directions. Every ring is shown at the posterior mean of the threshold, within what the
// screen can show; after the set number of trials the result is the posterior mean with its
// 95 % credible interval. The window shows `currentTrial()` and forwards each answer here.
class PreciseRun
{
public:
    enum class State { NotStarted, Running, Finished };

    explicit PreciseRun(const RunSetup &setup, OrientationRandom random = OrientationRandom(),
                        const ProcedureSettings &settings = ProcedureSettings());

    // Checks the setup and puts up the first ring. False, starting nothing, when the setup
    // gives no true ring size; problem() then says why. A run starts once.
    bool start();
    const QString &problem() const { return problem_; }

    State state() const { return state_; }
    bool running() const { return state_ == State::Running; }
    bool finished() const { return state_ == State::Finished; }

    // The ring on view while running.
    const PreciseTrial &currentTrial() const { return current_; }
    // An answer to the ring on view: its orientation 1 to 8, or kCannotSee. False, changing
    // nothing, when no ring is on view or the answer is neither.
    bool answer(int answered, double reactionMs);

    const std::vector<TrialRecord> &trials() const { return trials_; }
    int trialCount() const { return setup_.trialCount; }
    // The number of the ring on view (of the last ring once finished, 0 before the start).
    int trialNumber() const;
    // "7 / 18".
    QString progressText() const;

    const RunSetup &setup() const { return setup_; }
    // The sizes the run shows; empty before a successful start.
    const ScreenRange &range() const { return range_; }
    // Once finished.
    const std::optional<PreciseResult> &result() const { return result_; }
    // What the answers so far say; nothing before the start.
    const std::optional<Posterior> &posterior() const { return posterior_; }

private:
    void putUpRing();
    PreciseResult makeResult() const;

    RunSetup setup_;
    ProcedureSettings settings_;
    OrientationRandom random_;
    State state_ = State::NotStarted;
    QString problem_;
    ScreenRange range_;
    std::optional<Posterior> posterior_;
    PreciseTrial current_;
    std::vector<TrialRecord> trials_;
    std::optional<PreciseResult> result_;
};

} // namespace mitoon::precise
