#pragma once

#include <QPointF>

class QPainter;

namespace mitoon::precise {

// Fills a black Landolt ring (ISO 8596: outer diameter 5 gaps, stroke 1 gap) with its gap
// `gapDevicePx` device pixels wide, centred on `centre` in the painter's coordinates, the gap
// pointing to `orientation` (1 up, clockwise to 8 upper left; kClosedRing for none). The
// device's pixel ratio is divided out, so the ring has its size in device pixels on a scaled
// screen too; the painter's own transform is taken to be a plain translation. Anti-aliased:
// the ink of each pixel is the share of it the ring covers, so that a gap of a pixel and a
// half is drawn as one, not rounded to one or two.
void paintLandoltRing(QPainter &painter, double gapDevicePx, const QPointF &centre,
                      int orientation);

} // namespace mitoon::precise
