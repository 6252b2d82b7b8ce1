#pragma once

namespace mitoon::precise {

// The answer "見えない" (cannot see): the eye gives up on the ring. It counts as a wrong answer,
// which is what it is to the threshold: the gap was not seen. Treating it as one eighth of a
// right answer instead would claim a guess the eye never made.
inline constexpr int kCannotSee = 0;

// The ring of one trial as the window is to draw it.
struct PreciseTrial
{
    int number = 0;       // from 1
    double gapLogMar = 0; // as shown: within the screen's range
    double gapDevicePx = 0;
    double outerDiameterDevicePx = 0;
    int orientation = 0; // 1 to 8
};

// One trial as it went.
struct TrialRecord
{
    int number = 0;
    double gapLogMar = 0;
    double gapDevicePx = 0;
    int orientation = 0;
    int answer = kCannotSee; // 1 to 8, or kCannotSee
    bool correct = false;
    double reactionMs = 0;
};

} // namespace mitoon::precise
