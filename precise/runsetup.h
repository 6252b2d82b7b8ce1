#pragma once

#include "precise/screenrange.h"

#include <QString>
#include <array>
#include <optional>

namespace mitoon::precise {

enum class Eye { Left, Right };

inline constexpr std::array<int, 4> kTrialCounts{18, 24, 30, 48};
inline constexpr int kDefaultTrialCount = 18;

// What one measurement of one eye is set up with.
struct RunSetup
{
    Eye eye = Eye::Right;
    double distanceCm = 0;
    // The size of one device pixel; nothing when neither the screen nor the user has said it.
    std::optional<double> pitchMm;
    double devicePixelRatio = 1;
    // The whole screen in device pixels.
    double screenWidthPx = 0;
    double screenHeightPx = 0;
    int trialCount = kDefaultTrialCount;
};

// Beyond these no ring test measures: finer than decimal 10 no eye sees, and coarser than
// decimal 0.01 the eye is examined by counting fingers, not by rings. They bound the grid of
// an absurd setup (a pitch of a nanometre, a screen a kilometre wide) that the screen alone
// would not.
inline constexpr double kFinestMeasuredLogMar = -1.0;
inline constexpr double kCoarsestMeasuredLogMar = 2.0;

// The sizes the run shows: the screen's range at the distance within the measured span;
// empty when the setup gives no range.
ScreenRange measuredRange(const RunSetup &setup);

// Why a run with this setup cannot start, in words for the user; empty when it can. The ring's
// true size needs the distance and the pitch; without them any result would be a guess.
QString setupProblem(const RunSetup &setup);

} // namespace mitoon::precise
