#include "screencheck/pixelpitch.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

namespace mitoon::pixelpitch {

namespace {

constexpr double kMmPerInch = 25.4;

// Sizes are reported in whole millimetres; a size made up from 96 pixels per inch is within
// rounding of what 96 pixels per inch gives.
bool madeUpAt96Dpi(double mm, double px)
{
    return std::fabs(mm - px * kMmPerInch / 96.0) <= 1.0;
}

} // namespace

bool isPlausible(double pitchMm)
{
    return std::isfinite(pitchMm) && pitchMm >= kSmallestMm && pitchMm <= kLargestMm;
}

double fromCardWidthPx(double cardWidthPx)
{
    return kCardWidthMm / cardWidthPx;
}

double cardWidthPx(double pitchMm)
{
    return kCardWidthMm / pitchMm;
}

ScreenPitch fromScreen(const ScreenReport &report)
{
    if (!isPositiveFinite(report.widthMm) || !isPositiveFinite(report.heightMm) ||
        !isPositiveFinite(report.widthPx) || !isPositiveFinite(report.heightPx))
        return {std::nullopt, Doubt::NoSize};
    const double across = report.widthMm / report.widthPx;
    const double down = report.heightMm / report.heightPx;
    if (!isPlausible(across))
        return {std::nullopt, Doubt::OutOfRange};
    if (madeUpAt96Dpi(report.widthMm, report.widthPx) &&
        madeUpAt96Dpi(report.heightMm, report.heightPx))
        return {across, Doubt::Looks96Dpi};
    if (std::fabs(across - down) > 0.1 * std::max(across, down))
        return {across, Doubt::NotSquare};
    return {across, Doubt::None};
}

InEffect inEffect(std::optional<double> storedMm, const ScreenReport &report)
{
    const ScreenPitch screen = fromScreen(report);
    InEffect effect;
    effect.screenDoubt = screen.doubt;
    if (storedMm && isPlausible(*storedMm)) {
        effect.pitchMm = storedMm;
        effect.source = Source::Measured;
        return effect;
    }
    effect.storedIgnored = storedMm.has_value();
    effect.pitchMm = screen.pitchMm;
    effect.source = screen.pitchMm ? Source::Screen : Source::None;
    return effect;
}

bool isTrusted(const InEffect &effect)
{
    return effect.source == Source::Measured ||
           (effect.source == Source::Screen && effect.screenDoubt == Doubt::None);
}

} // namespace mitoon::pixelpitch
