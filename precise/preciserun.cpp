#include "precise/preciserun.h"

#include "precise/acuityscales.h"
#include "precise/landoltring.h"
#include "precise/units.h"

#include <algorithm>

namespace mitoon::precise {

PreciseRun::PreciseRun(const RunSetup &setup, OrientationRandom random,
                       const ProcedureSettings &settings)
    : setup_(setup), settings_(settings), random_(std::move(random))
{
}

bool PreciseRun::start()
{
    if (state_ != State::NotStarted)
        return false;
    problem_ = setupProblem(setup_);
    if (!problem_.isEmpty())
        return false;
    range_ = measuredRange(setup_);
    posterior_.emplace(range_.finestLogMar, range_.coarsestLogMar, settings_.maxGridStepLogMar,
                       settings_.priorMeanLogMar, settings_.priorSdLogMar, settings_.model);
    trials_.reserve(std::size_t(setup_.trialCount));
    state_ = State::Running;
    putUpRing();
    return true;
}

void PreciseRun::putUpRing()
{
    current_.number = int(trials_.size()) + 1;
    current_.gapLogMar = range_.clamped(posterior_->mean());
    current_.gapDevicePx =
        gapDevicePxForLogMar(current_.gapLogMar, setup_.distanceCm, *setup_.pitchMm);
    current_.outerDiameterDevicePx = outerDiameterForGap(current_.gapDevicePx);
    current_.orientation = random_.draw();
}

bool PreciseRun::answer(int answered, double reactionMs)
{
    if (state_ != State::Running || (answered != kCannotSee && !isOrientation(answered)))
        return false;
    TrialRecord record;
    record.number = current_.number;
    record.gapLogMar = current_.gapLogMar;
    record.gapDevicePx = current_.gapDevicePx;
    record.orientation = current_.orientation;
    record.answer = answered;
    record.correct = answered == current_.orientation;
    record.reactionMs = reactionMs;
    trials_.push_back(record);
    posterior_->update(record.gapLogMar, record.correct);
    if (int(trials_.size()) < setup_.trialCount) {
        putUpRing();
        return true;
    }
    state_ = State::Finished;
    result_ = makeResult();
    return true;
}

PreciseResult PreciseRun::makeResult() const
{
    PreciseResult result;
    result.eye = setup_.eye;
    result.trials = int(trials_.size());
    result.distanceCm = setup_.distanceCm;
    result.pitchMm = *setup_.pitchMm;
    const double mean = posterior_->mean();
    result.logMar = mean;
    // The posterior cannot reach past an end of the grid, so an eye beyond it piles its
    // probability against that end and its mean lands just inside: within the margin the mean
    // says "this end or beyond", and the end is what is reported.
    if (mean - range_.finestLogMar <= settings_.limitMarginLogMar) {
        result.limit = RangeLimit::Finest;
        result.logMar = range_.finestLogMar;
    } else if (range_.coarsestLogMar - mean <= settings_.limitMarginLogMar) {
        result.limit = RangeLimit::Coarsest;
        result.logMar = range_.coarsestLogMar;
    }
    result.decimal = decimalAcuity(result.logMar);
    result.lowLogMar = std::min(posterior_->quantile(0.025), result.logMar);
    result.highLogMar = std::max(posterior_->quantile(0.975), result.logMar);
    return result;
}

int PreciseRun::trialNumber() const
{
    switch (state_) {
    case State::NotStarted:
        return 0;
    case State::Running:
        return current_.number;
    case State::Finished:
        return int(trials_.size());
    }
    return 0;
}

QString PreciseRun::progressText() const
{
    return QStringLiteral("%1 / %2").arg(trialNumber()).arg(setup_.trialCount);
}

} // namespace mitoon::precise
