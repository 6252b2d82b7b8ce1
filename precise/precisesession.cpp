#include "precise/precisesession.h"

#include "app/appinfo.h"

#include <utility>

namespace mitoon::precise {

PreciseSession::PreciseSession(Screen screen, double distanceCm, int trialCount,
                               OrientationRandom random, Store store, Clock clock)
    : screen_(std::move(screen)), distanceCm_(distanceCm), trialCount_(trialCount),
      random_(std::move(random)), store_(std::move(store)), clock_(std::move(clock))
{
    if (!store_)
        store_ = [](const StoredRun &run, const std::vector<TrialRecord> &trials,
                    StoreState &state) { return storeRun(run, trials, state); };
    if (!clock_)
        clock_ = &QDateTime::currentDateTime;
}

void PreciseSession::setScreen(const Screen &screen)
{
    if (stage_ == Stage::Setup)
        screen_ = screen;
}

void PreciseSession::selectEye(Eye eye)
{
    if (stage_ == Stage::Setup)
        eye_ = eye;
}

void PreciseSession::setDistanceCm(double centimetres)
{
    if (stage_ == Stage::Setup)
        distanceCm_ = centimetres;
}

void PreciseSession::setTrialCount(int count)
{
    if (stage_ == Stage::Setup)
        trialCount_ = count;
}

RunSetup PreciseSession::setup() const
{
    RunSetup setup;
    setup.eye = eye_;
    setup.distanceCm = distanceCm_;
    setup.pitchMm = screen_.pitchMm;
    setup.devicePixelRatio = screen_.devicePixelRatio;
    setup.screenWidthPx = screen_.widthDevicePx;
    setup.screenHeightPx = screen_.heightDevicePx;
    setup.trialCount = trialCount_;
    return setup;
}

ScreenRange PreciseSession::range() const
{
    return problem().isEmpty() ? measuredRange(setup()) : ScreenRange();
}

QString PreciseSession::problem() const
{
    return setupProblem(setup());
}

bool PreciseSession::start()
{
    if (stage_ != Stage::Setup)
        return false;
    run_.emplace(setup(), random_.split());
    if (!run_->start()) {
        run_.reset();
        return false;
    }
    stored_.reset();
    stage_ = Stage::Rings;
    return true;
}

bool PreciseSession::answer(int answered, double reactionMs)
{
    if (stage_ != Stage::Rings || !run_->answer(answered, reactionMs))
        return false;
    if (run_->finished())
        finish();
    return true;
}

void PreciseSession::finish()
{
    StoredRun run;
    run.finished = clock_();
    run.result = *run_->result();
    run.pitchSource = screen_.pitchSource;
    run.uncalibrated = screen_.uncalibrated;
    run.version = versionText();
    stored_ = run;
    storeState_ = StoreState();
    stage_ = Stage::Result;
    storeAgain();
}

bool PreciseSession::storeAgain()
{
    if (stage_ != Stage::Result || storeState_.complete())
        return false;
    storeResult_ = store_(*stored_, run_->trials(), storeState_);
    return storeResult_.ok();
}

void PreciseSession::abandon()
{
    if (stage_ != Stage::Rings)
        return;
    run_.reset();
    stage_ = Stage::Setup;
}

void PreciseSession::measureOtherEye()
{
    if (stage_ != Stage::Result)
        return;
    stage_ = Stage::Setup;
    eye_ = eye_ == Eye::Left ? Eye::Right : Eye::Left;
}

void PreciseSession::measureAgain()
{
    if (stage_ == Stage::Result)
        stage_ = Stage::Setup;
}

} // namespace mitoon::precise
