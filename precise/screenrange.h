#pragma once

// The ring sizes a screen can show at a viewing distance, in logMAR of the gap.
namespace mitoon::precise {

// The largest ring spans 80 % of the screen's smaller side: the rest keeps the ring off the
// screen's edge, where a bezel or a window frame would cut into it, and leaves room below it for
// the progress text ("7 / 18"). The gap is then 0.8 / 5 = 0.16 of that side.
inline constexpr double kRingShareOfSmallerSide = 0.8;

struct ScreenRange
{
    // The smallest gap: one device pixel. Anti-aliasing draws finer gaps only as a grey smear.
    double finestLogMar = 0;
    // The largest gap: that of the largest ring that fits.
    double coarsestLogMar = 0;

    bool isEmpty() const { return !(finestLogMar < coarsestLogMar); }
    bool contains(double logMar) const
    {
        return logMar >= finestLogMar && logMar <= coarsestLogMar;
    }
    double clamped(double logMar) const;
};

// An empty range when any figure is not a positive finite number.
ScreenRange screenRange(double distanceCm, double pitchMm, double widthDevicePx,
                        double heightDevicePx);

double largestGapDevicePx(double widthDevicePx, double heightDevicePx);

} // namespace mitoon::precise
