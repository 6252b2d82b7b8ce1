#include "screencheck/ringrows.h"

#include "acuity/acuityform.h"
#include "acuity/acuitytest.h"
#include "acuity/calibration.h"
#include "acuity/visualangle.h"
#include "platform/numbers.h"
#include "platform/twips.h"

#include <cmath>

namespace mitoon::screencheck {

namespace {

constexpr double kMmPerCm = 10.0;

bool isUsable(const Setting &setting)
{
    return isPositiveFinite(setting.inches) && isPositiveFinite(setting.centimetres) &&
           isPositiveFinite(setting.pitchMm) && isPositiveFinite(setting.devicePixelRatio);
}

// An extent of the ring in ring units as screen pixels.
double screenPx(float units, float twipsPerUnit, double devicePixelRatio)
{
    return twips::toPixels(double(units) * double(twipsPerUnit)) * devicePixelRatio;
}

// The score at the last right answer after `rightAnswers` of them: the score a test starts
// with stands at the first right answer, and each right answer adds 10 to it.
std::int16_t saigotensuuAfter(int rightAnswers)
{
    return rightAnswers == 0 ? 0 : std::int16_t(AcuityTest::kStartScore + 10 * (rightAnswers - 1));
}

// Nothing when the gap is too small or too large to make an angle a number can hold.
std::optional<RingRow> ringRow(int rightAnswers, float widthUnits, float heightUnits,
                               const Setting &setting)
{
    const double widthPx = screenPx(widthUnits, kTwipsPerHorizontalUnit, setting.devicePixelRatio);
    const double heightPx = screenPx(heightUnits, kTwipsPerVerticalUnit, setting.devicePixelRatio);
    RingRow row;
    row.rightAnswers = rightAnswers;
    row.outerWidthPx = widthPx * kRingOuterWidthPx / kPictureWidthPx;
    row.outerHeightPx = heightPx * kRingOuterHeightPx / kPictureHeightPx;
    row.outerWidthMm = row.outerWidthPx * setting.pitchMm;
    row.outerHeightMm = row.outerHeightPx * setting.pitchMm;
    row.gapPx = widthPx * kGapWidthPx / kPictureWidthPx;
    row.gapMm = row.gapPx * setting.pitchMm;
    const std::optional<double> angle =
        visualangle::visualAngleArcMin(row.gapMm, setting.centimetres * kMmPerCm);
    if (!angle || !isPositiveFinite(*angle))
        return std::nullopt;
    row.gapArcMin = *angle;
    row.decimalAcuity = *visualangle::decimalAcuity(row.gapArcMin);
    row.logMar = *visualangle::logMar(row.gapArcMin);
    if (!std::isfinite(row.decimalAcuity) || !std::isfinite(row.outerWidthMm) ||
        !std::isfinite(row.outerHeightMm))
        return std::nullopt;
    row.shownAcuity = AcuityTest::acuityText(saigotensuuAfter(rightAnswers));
    row.belowPixel = row.gapPx < 1.0;
    return row;
}

} // namespace

std::vector<RingRow> ringRows(const Setting &setting)
{
    if (!isUsable(setting))
        return {};
    const Variant inches = Variant::number(setting.inches);
    const Variant centimetres = Variant::number(setting.centimetres);
    const std::optional<float> width = ringExtent(kBaseWidth, inches, centimetres);
    const std::optional<float> height = ringExtent(kBaseHeight, inches, centimetres);
    if (!width || !height)
        return {};
    // The ring shrinks as the answer handlers shrink it: in double precision, kept as a single.
    float widthUnits = *width;
    float heightUnits = *height;
    std::vector<RingRow> rows;
    for (int answers = 0; answers <= kAnswersShown; ++answers) {
        const std::optional<RingRow> row = ringRow(answers, widthUnits, heightUnits, setting);
        if (!row)
            break;
        rows.push_back(*row);
        widthUnits = float(double(widthUnits) * kShrink);
        heightUnits = float(double(heightUnits) * kShrink);
    }
    return rows;
}

std::optional<PixelLimit> pixelLimit(double pitchMm, double centimetres)
{
    const std::optional<double> angle =
        visualangle::visualAngleArcMin(pitchMm, centimetres * kMmPerCm);
    if (!angle)
        return std::nullopt;
    return PixelLimit{*angle, *visualangle::decimalAcuity(*angle), *visualangle::logMar(*angle)};
}

std::optional<double> inchesForFirstGap(double gapArcMin, const Setting &setting)
{
    Setting reference = setting;
    reference.inches = kReferenceInches;
    const std::vector<RingRow> rows = ringRows(reference);
    const std::optional<double> wantedMm =
        visualangle::sizeForVisualAngleMm(gapArcMin, setting.centimetres * kMmPerCm);
    if (rows.empty() || !wantedMm)
        return std::nullopt;
    // The ring's size goes with 14 / inches.
    const double inches = reference.inches * rows.front().gapMm / *wantedMm;
    if (!isPositiveFinite(inches))
        return std::nullopt;
    return inches;
}

int nearestListedInches(double inches)
{
    int nearest = kDisplaySizes.front();
    for (const int listed : kDisplaySizes)
        if (std::fabs(std::log(listed / inches)) < std::fabs(std::log(nearest / inches)))
            nearest = listed;
    return nearest;
}

} // namespace mitoon::screencheck
