#include "acuity/ringfit.h"

#include "acuity/calibration.h"

#include <algorithm>

namespace mitoon {

RingTwips ringTwips(float widthUnits, float heightUnits)
{
    return {double(widthUnits) * double(kTwipsPerHorizontalUnit),
            double(heightUnits) * double(kTwipsPerVerticalUnit)};
}

std::optional<RingTwips> ringTwips(const Variant &gamensize, const Variant &kyori)
{
    const auto height = ringExtent(kBaseHeight, gamensize, kyori);
    const auto width = ringExtent(kBaseWidth, gamensize, kyori);
    if (!height || !width)
        return std::nullopt;
    return ringTwips(*width, *height);
}

RingFit fitRing(const RingTwips &ring, const RingRoom &room)
{
    RingFit fit;
    fit.fits = ring.width <= room.maxWidth && ring.height <= room.maxHeight;
    fit.grow = ring.width > room.width || ring.height > room.height;
    // The window grows as far as the ring needs and its screen allows, and never shrinks.
    fit.width = std::max(room.width, std::min(ring.width, room.maxWidth));
    fit.height = std::max(room.height, std::min(ring.height, room.maxHeight));
    return fit;
}

namespace {

bool fitsMost(double inches, double centimetres, const RingRoom &room)
{
    const auto ring = ringTwips(Variant::number(inches), Variant::number(centimetres));
    return ring && fitRing(*ring, room).fits;
}

} // namespace

FittingSetting fittingSetting(double inches, double centimetres, const RingRoom &room)
{
    FittingSetting fitting;
    // A longer distance gives a larger ring, a larger display a smaller one.
    for (auto it = kDistances.rbegin(); it != kDistances.rend(); ++it)
        if (fitsMost(inches, *it, room)) {
            fitting.distance = *it;
            break;
        }
    for (const int size : kDisplaySizes)
        if (fitsMost(size, centimetres, room)) {
            fitting.displaySize = size;
            break;
        }
    return fitting;
}

QString doesNotFitMessage(const FittingSetting &fitting)
{
    if (fitting.distance && fitting.displaySize)
        return QStringLiteral("画面に入りません:%1cm以下か%2ｲﾝﾁ以上に")
            .arg(*fitting.distance)
            .arg(*fitting.displaySize);
    if (fitting.distance)
        return QStringLiteral("画面に入りません:距離を%1cm以下に").arg(*fitting.distance);
    if (fitting.displaySize)
        return QStringLiteral("画面に入りません:ｻｲｽﾞを%1ｲﾝﾁ以上に").arg(*fitting.displaySize);
    return QStringLiteral("この画面にはどの設定でも入りません");
}

} // namespace mitoon
