#pragma once

#include "graph/graphscale.h"
#include "graph/recordseries.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

class QPainter;
class QPaintDevice;

namespace mitoon {

// One point of the graph: the value of one eye in one record.
struct GraphPoint
{
    qint64 moment = 0;
    double acuity = 0;
    int record = 0; // index into the series' records
};

// A point by its eye and its place among that eye's points (in time order).
struct PointRef
{
    recordseries::Eye eye = recordseries::Eye::Hidari;
    int index = 0;
    bool operator==(const PointRef &) const = default;
};

// The graph of the records, drawn the same way on the screen, on an image and on the printer:
// the date across, the decimal acuity up on a logarithmic axis from 0.1 to 2.0 with logMAR on
// the right, grid lines at 0.1, 0.2, 0.5, 1.0 and 2.0, the left eye in blue circles and the
// right eye in red squares, each eye's points joined in time order. Values beyond the axis sit
// on its edge as triangles pointing out. Sizes are given for 96 dots per inch and scale with
// the device, so a printed page looks like the window.
//
// However many records there are, it draws no more than the device can show: the line of an
// eye keeps the first, lowest, highest and last point of each pixel column, and of points that
// fall on the same spot only one is drawn.
class GraphPainter
{
public:
    void setSeries(recordseries::RecordSeries series);
    const recordseries::RecordSeries &series() const { return series_; }
    const std::vector<GraphPoint> &points(recordseries::Eye eye) const;
    bool hasPoints() const { return !left_.empty() || !right_.empty(); }

    // A sentence shown in the middle of a graph without points.
    void setMessage(const QString &message) { message_ = message; }
    const QString &message() const { return message_; }

    // Where the plot and the axes go in `area` on `device`.
    struct Geometry
    {
        QRectF plot;
        graphscale::Span span;
        bool hasSpan = false;
        double x(qint64 moment) const;
        double y(double acuity) const; // on the edge for values beyond the axis
        QPointF position(const GraphPoint &point) const;
    };
    Geometry geometry(const QRectF &area, const QPaintDevice *device) const;

    void paint(QPainter &painter, const QRectF &area) const;
    // A page: `heading` and `subheading` over the graph.
    void paintPage(QPainter &painter, const QRectF &page, const QString &heading,
                   const QString &subheading) const;
    // A ring around one point, over a painted graph.
    void paintHighlight(QPainter &painter, const Geometry &geometry, PointRef point) const;

    // The point whose centre is nearest to `position`, within `radius`.
    std::optional<PointRef> pointAt(const Geometry &geometry, QPointF position,
                                    double radius) const;
    const GraphPoint &point(PointRef ref) const { return points(ref.eye)[size_t(ref.index)]; }

    static QColor color(recordseries::Eye eye);

private:
    void paintAxes(QPainter &painter, const Geometry &geometry, double scale) const;
    void paintLegend(QPainter &painter, const Geometry &geometry, double scale) const;
    void paintEye(QPainter &painter, const Geometry &geometry, double scale, recordseries::Eye eye,
                  bool line) const;

    recordseries::RecordSeries series_;
    std::vector<GraphPoint> left_;
    std::vector<GraphPoint> right_;
    qint64 first_ = 0; // the earliest and latest moment of any record
    qint64 last_ = 0;
    QString message_;
};

} // namespace mitoon
