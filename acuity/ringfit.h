#pragma once

#include "acuity/variant.h"

#include <QString>
#include <optional>

namespace mitoon {

// The ring's extents in twips.
struct RingTwips
{
    double width = 0;
    double height = 0;
};

// The room the main window has for the ring, in twips: from the ring's fixed top-left corner to
// the right edge of the client area and down to the status bar docked at its bottom. `width`
// and `height` are the room as the window is now; `maxWidth` and `maxHeight` the room once the
// window has grown over the whole available area of its screen.
struct RingRoom
{
    double width = 0;
    double height = 0;
    double maxWidth = 0;
    double maxHeight = 0;
};

// What a ring asks of the window: whether it fits at all, and the room the window grows to
// (never less than it has, never more than its most) when the ring reaches past it now.
struct RingFit
{
    bool fits = true;
    bool grow = false;
    double width = 0;
    double height = 0;
};

// The ring in twips for extents in ring units.
RingTwips ringTwips(float widthUnits, float heightUnits);
// The ring for a display size and a distance; nothing when the two give no ring.
std::optional<RingTwips> ringTwips(const Variant &gamensize, const Variant &kyori);

RingFit fitRing(const RingTwips &ring, const RingRoom &room);

// The listed settings at which the ring would fit the most room the window can have: the
// longest distance at the display size given, and the smallest display size at the distance
// given. Nothing for either where no listed value fits.
struct FittingSetting
{
    std::optional<int> distance;
    std::optional<int> displaySize;
};
FittingSetting fittingSetting(double inches, double centimetres, const RingRoom &room);

// The status bar's message when the ring does not fit the screen at the setting in the boxes:
// short enough for the status bar's first panel, with the listed distance or display size at
// which it would.
QString doesNotFitMessage(const FittingSetting &fitting);

} // namespace mitoon
