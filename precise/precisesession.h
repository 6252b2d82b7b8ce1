#pragma once

#include "fileio/result.h"
#include "precise/orientationrandom.h"
#include "precise/preciserecords.h"
#include "precise/preciserun.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

namespace mitoon::precise {

// What the window of "精密測定" shows and does, without a widget: the set-up before the first
// ring, the rings of a run, and the result; the window forwards the user's choices, keys and
// clicks here and shows the state. A finished run is stored at once; one left before its end
// never is.
class PreciseSession
{
public:
    enum class Stage { Setup, Rings, Result };

    // The screen the rings are drawn on, and what is known of its pixels.
    struct Screen
    {
        double widthDevicePx = 0;
        double heightDevicePx = 0;
        double devicePixelRatio = 1;
        std::optional<double> pitchMm;
        // Where the pitch comes from, as the screen check says it ("カード", "画面の報告").
        QString pitchSource;
        // The pitch was not measured with a card and the screen's report looks made up.
        bool uncalibrated = false;
    };

    // How a finished run is stored (the drive folder's two files by default) and when it
    // finished.
    using Store = std::function<fileio::Result(const StoredRun &, const std::vector<TrialRecord> &,
                                               StoreState &)>;
    using Clock = std::function<QDateTime()>;

    PreciseSession(Screen screen, double distanceCm, int trialCount,
                   OrientationRandom random = OrientationRandom(), Store store = {},
                   Clock clock = {});

    Stage stage() const { return stage_; }
    const Screen &screen() const { return screen_; }
    // The screen as it is now (another screen, a card measured meanwhile); in the set-up only.
    void setScreen(const Screen &screen);

    // The set-up: the eye, the distance and the number of rings of the next run.
    Eye eye() const { return eye_; }
    void selectEye(Eye eye);
    double distanceCm() const { return distanceCm_; }
    void setDistanceCm(double centimetres);
    int trialCount() const { return trialCount_; }
    void setTrialCount(int count);
    // The range of sizes the next run would show; empty when it cannot start.
    ScreenRange range() const;
    // Why the next run cannot start, in words for the user; empty when it can.
    QString problem() const;

    // The first ring of a run with the set-up; false, starting nothing, when problem() says
    // why not.
    bool start();
    // The run of the rings on view, or of the result.
    const PreciseRun *run() const { return run_ ? &*run_ : nullptr; }
    // An answer to the ring on view: an orientation 1 to 8 or kCannotSee, and how long the
    // user looked at the ring. The last answer of a run stores it and shows the result.
    bool answer(int answered, double reactionMs);
    // Back to the set-up without storing anything: the run in progress is dropped.
    void abandon();

    // The result stage.
    const std::optional<StoredRun> &stored() const { return stored_; }
    const fileio::Result &storeResult() const { return storeResult_; }
    // Tries the save again after a failure; writes only what did not reach the files.
    bool storeAgain();
    // "右目も測る" / "左目も測る": the set-up for the other eye; "もう一度": for the same eye.
    void measureOtherEye();
    void measureAgain();

private:
    RunSetup setup() const;
    void finish();

    Screen screen_;
    double distanceCm_;
    int trialCount_;
    Eye eye_ = Eye::Right;
    OrientationRandom random_;
    Store store_;
    Clock clock_;
    Stage stage_ = Stage::Setup;
    std::optional<PreciseRun> run_;
    std::optional<StoredRun> stored_;
    StoreState storeState_;
    fileio::Result storeResult_;
};

} // namespace mitoon::precise
