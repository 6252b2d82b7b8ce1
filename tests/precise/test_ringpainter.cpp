#include "precise/landoltring.h"
#include "precise/ringpainter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

using namespace mitoon::precise;

namespace {

// The ring drawn on white, `ratio` device pixels to a logical one, centred off the pixel grid.
struct Drawing
{
    QImage image;
    QPointF centreDevicePx;
};

Drawing draw(double gapDevicePx, int orientation, double ratio = 1)
{
    const int side = int(std::ceil(6 * gapDevicePx)) + 8;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDevicePixelRatio(ratio);
    const QPointF centre(side / 2.0 + 0.3, side / 2.0 - 0.45);
    QPainter painter(&image);
    paintLandoltRing(painter, gapDevicePx, centre / ratio, orientation);
    painter.end();
    return {image, centre};
}

double ink(QRgb pixel)
{
    return 1.0 - qGray(pixel) / 255.0;
}

double totalInk(const QImage &image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += ink(image.pixel(x, y));
    return sum;
}

// The part of the annulus r ≤ ρ ≤ R that a strip of width g from the centre outwards cuts
// away: ∫ from −g/2 to g/2 of (√(R² − y²) − √(r² − y²)) dy, by the antiderivative
// ½ (y √(a² − y²) + a² asin(y / a)).
double stripArea(double g)
{
    const double h = g / 2;
    auto twice = [h](double a) { return h * std::sqrt(a * a - h * h) + a * a * std::asin(h / a); };
    return twice(2.5 * g) - twice(1.5 * g);
}

double ringArea(double g)
{
    return std::numbers::pi * (2.5 * 2.5 - 1.5 * 1.5) * g * g - stripArea(g);
}

struct AreaRow
{
    double gapPx;
    int orientation;
    double ratio;
};

class RingInk : public ::testing::TestWithParam<AreaRow>
{
};

TEST_P(RingInk, IsTheRingsAreaWithinTwoPercent)
{
    const AreaRow row = GetParam();
    const Drawing drawing = draw(row.gapPx, row.orientation, row.ratio);
    EXPECT_NEAR(totalInk(drawing.image) / ringArea(row.gapPx), 1.0, 0.02);
}

// What the gap takes away from the closed ring is as wide as the gap: the strip's area within
// 5 % (its width being off by 5 % would move it by as much).
TEST_P(RingInk, GapIsItsNominalSizeWithinFivePercent)
{
    const AreaRow row = GetParam();
    const double closed = totalInk(draw(row.gapPx, kClosedRing, row.ratio).image);
    const double open = totalInk(draw(row.gapPx, row.orientation, row.ratio).image);
    EXPECT_NEAR((closed - open) / stripArea(row.gapPx), 1.0, 0.05);
}

INSTANTIATE_TEST_SUITE_P(Painter, RingInk,
                         ::testing::Values(AreaRow{1, 3, 1}, AreaRow{1, 2, 1}, AreaRow{1.5, 6, 1},
                                           AreaRow{2.5, 2, 1}, AreaRow{7, 5, 1}, AreaRow{40, 8, 1},
                                           AreaRow{40, 1, 1},
                                           // on a scaled screen: the same device pixels
                                           AreaRow{7, 4, 2}, AreaRow{1, 7, 2}));

class GapDirection : public ::testing::TestWithParam<double>
{
};

// Of eight 45° sectors round the centre, the one with the least ink is the one asked for.
TEST_P(GapDirection, IsTheAskedOrientation)
{
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const Drawing drawing = draw(GetParam(), orientation);
        std::array<double, 9> sectors{};
        for (int y = 0; y < drawing.image.height(); ++y)
            for (int x = 0; x < drawing.image.width(); ++x) {
                const double dx = x + 0.5 - drawing.centreDevicePx.x();
                const double dy = y + 0.5 - drawing.centreDevicePx.y();
                const double degrees = std::atan2(dx, -dy) * 180 / std::numbers::pi + 360 + 22.5;
                sectors[std::size_t(int(degrees / 45) % 8 + 1)] += ink(drawing.image.pixel(x, y));
            }
        const auto least = std::min_element(sectors.begin() + 1, sectors.end());
        EXPECT_EQ(least - sectors.begin(), orientation) << "gap " << GetParam();
    }
}

INSTANTIATE_TEST_SUITE_P(Painter, GapDirection, ::testing::Values(1.0, 2.5, 7.0, 40.0));

} // namespace
