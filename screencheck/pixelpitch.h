#pragma once

#include <optional>

// How large one pixel of the screen is, in millimetres: from what the screen reports of its
// size, or from the user's own measurement with a bank card held against the screen. Pixels
// here are the screen's own pixels, not the logical pixels of desktop scaling.
namespace mitoon::pixelpitch {

// An ID-1 card (bank card, cash card, most membership cards).
inline constexpr double kCardWidthMm = 85.60;
inline constexpr double kCardHeightMm = 53.98;
inline constexpr double kCardCornerRadiusMm = 3.18;

// Pitches a desktop or laptop screen can have: from about 500 pixels per inch down to a large
// television close up.
inline constexpr double kSmallestMm = 0.05;
inline constexpr double kLargestMm = 1.0;

bool isPlausible(double pitchMm);

// The card is matched by its width: a card outline `cardWidthPx` screen pixels wide.
double fromCardWidthPx(double cardWidthPx);
double cardWidthPx(double pitchMm);

// The screen's own account of itself: its physical size and its size in screen pixels.
struct ScreenReport
{
    double widthMm = 0;
    double heightMm = 0;
    double widthPx = 0;
    double heightPx = 0;
};

// Why the screen's report is not to be trusted.
enum class Doubt {
    None,
    NoSize,     // a size of 0: the screen does not know its size; no pitch
    OutOfRange, // a pitch no screen has; no pitch
    Looks96Dpi, // the size is what 96 pixels per inch gives, to the millimetre: a made-up size
    NotSquare,  // across and down disagree by more than a tenth; the pitch across is taken
};

struct ScreenPitch
{
    std::optional<double> pitchMm;
    Doubt doubt = Doubt::None;
};

ScreenPitch fromScreen(const ScreenReport &report);

enum class Source { None, Screen, Measured };

// The pitch in effect: the stored measurement when it is a plausible pitch, otherwise the
// screen's report (doubts and all) when it gives one, otherwise none.
struct InEffect
{
    std::optional<double> pitchMm;
    Source source = Source::None;
    Doubt screenDoubt = Doubt::None; // of the screen's report, whichever pitch is in effect
    bool storedIgnored = false;      // a stored measurement that is no plausible pitch
};

InEffect inEffect(std::optional<double> storedMm, const ScreenReport &report);

// A pitch in effect that one can rely on: measured with a card, or the screen's own report
// without a doubt. Anything else gives results "画面未校正" (not calibrated).
bool isTrusted(const InEffect &effect);

} // namespace mitoon::pixelpitch
