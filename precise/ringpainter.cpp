#include "precise/ringpainter.h"

#include "precise/landoltring.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

namespace mitoon::precise {

namespace {

// QPainterPath's boolean operations flatten curves to lines with a tolerance of a fraction of a
// unit whatever the path's size: a ring of a few pixels built at its own size comes out a
// coarse polygon, 10 % short of its area. Built this many units to the gap and then scaled
// down, its polygon is true to within a thousandth of the gap.
constexpr double kUnitsPerGap = 1024;

// The ring with its gap up, centred on the origin.
QPainterPath ringPath(bool withGap)
{
    const double outerRadius = outerDiameterForGap(kUnitsPerGap) / 2;
    const double innerRadius = innerDiameterForGap(kUnitsPerGap) / 2;
    QPainterPath outer;
    outer.addEllipse(QPointF(), outerRadius, outerRadius);
    QPainterPath inner;
    inner.addEllipse(QPointF(), innerRadius, innerRadius);
    QPainterPath ring = outer.subtracted(inner);
    if (!withGap)
        return ring;
    // A strip as wide as the gap from the centre up past the outer edge.
    QPainterPath strip;
    strip.addRect(QRectF(-kUnitsPerGap / 2, -outerRadius - kUnitsPerGap, kUnitsPerGap,
                         outerRadius + kUnitsPerGap));
    return ring.subtracted(strip);
}

} // namespace

void paintLandoltRing(QPainter &painter, double gapDevicePx, const QPointF &centre, int orientation)
{
    const double ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const double gap = gapDevicePx / ratio;
    QTransform place;
    place.translate(centre.x(), centre.y());
    // Clockwise on the screen, where y grows downwards.
    place.rotate(isOrientation(orientation) ? orientationDegreesClockwiseFromUp(orientation) : 0);
    place.scale(gap / kUnitsPerGap, gap / kUnitsPerGap);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(place.map(ringPath(isOrientation(orientation))));
    painter.restore();
}

} // namespace mitoon::precise
