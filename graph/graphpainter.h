#pragma once

#include "graph/graphscale.h"
#include "graph/graphseries.h"
#include "graph/recordseries.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

class QPainter;
class QPaintDevice;

namespace mitoon {

// The graph of the records, drawn the same way on the screen, on an image and on the printer:
// the date across, the decimal acuity up on a logarithmic axis from 0.1 to 2.0 with logMAR on
// the right, grid lines at 0.1, 0.2, 0.5, 1.0 and 2.0, the left eye in blue circles and the
// right eye in red squares, each eye's points joined in time order. Values beyond the axis sit
// on its edge as triangles pointing out. Sizes are given for 96 dots per inch and scale with
// the device, so a printed page looks like the window.
//
// The results of 精密測定 go over them in darker shades of the same colours, not joined: the
// left eye as diamonds a little left of their moment, the right eye as stars a little right of
// it, so that both eyes measured in one sitting stand side by side. Each is an estimate of its
// own, shown with its 95 % interval as a vertical bar (with a cap at each end that lies on the
// axis). A result at a limit of the screen's range has a small arrow beside it, up for "at
// least" (≥) and down for "at most" (≤). Without results of 精密測定 the graph is drawn as it
// always was.
//
// However many records there are, it draws no more than the device can show: the line of an
// eye keeps the first, lowest, highest and last point of each pixel column, of points that
// fall on the same spot only one is drawn, and the intervals of one pixel column are drawn as
// the bars of their union.
class GraphPainter
{
public:
    void setSeries(recordseries::RecordSeries series, QList<precise::StoredRun> runs = {});
    const GraphSeries &data() const { return data_; }
    const recordseries::RecordSeries &series() const { return data_.records(); }
    const std::vector<GraphPoint> &points(recordseries::Eye eye,
                                          SeriesKind kind = SeriesKind::Classic) const
    {
        return data_.points({eye, kind});
    }
    bool hasPoints() const { return data_.hasPoints(); }

    // A sentence shown in the middle of a graph without points.
    void setMessage(const QString &message) { message_ = message; }
    const QString &message() const { return message_; }

    // Where the plot and the axes go in `area` on `device`.
    struct Geometry
    {
        QRectF plot;
        graphscale::Span span;
        bool hasSpan = false;
        // Rows of the legend over the plot: two when all four series do not fit in one.
        int legendRows = 1;
        // How far 精密測定's markers and bars stand beside their moment, the left eye's to the
        // left and the right eye's to the right, so that both eyes measured in one sitting
        // show side by side.
        double preciseDodge = 0;
        // How far inside the plot's frame the time axis starts and ends: with results of
        // 精密測定, room for a whole marker beside the first and the last moment.
        double timeInset = 0;
        double x(qint64 moment) const;
        double x(qint64 moment, SeriesId series) const;
        double y(double acuity) const; // on the edge for values beyond the axis
        QPointF position(const GraphPoint &point) const;
        QPointF position(const GraphPoint &point, SeriesId series) const;
    };
    Geometry geometry(const QRectF &area, const QPaintDevice *device) const;

    void paint(QPainter &painter, const QRectF &area) const;
    // A page: `heading` and `subheading` over the graph.
    void paintPage(QPainter &painter, const QRectF &page, const QString &heading,
                   const QString &subheading) const;
    // A ring around one point, over a painted graph.
    void paintHighlight(QPainter &painter, const Geometry &geometry, PointRef point) const;

    // The point whose centre is nearest to `position`, within `radius`; of points equally near,
    // one of 精密測定, which is drawn on top.
    std::optional<PointRef> pointAt(const Geometry &geometry, QPointF position,
                                    double radius) const;
    const GraphPoint &point(PointRef ref) const { return data_.point(ref); }

    // What the legend shows, in its order: the classic test's two eyes always, 精密測定's when
    // there are results of it.
    struct LegendEntry
    {
        SeriesId series;
        QString name;
    };
    QList<LegendEntry> legendEntries() const;

    static QColor color(recordseries::Eye eye, SeriesKind kind = SeriesKind::Classic);

private:
    void paintAxes(QPainter &painter, const Geometry &geometry, double scale) const;
    void paintLegend(QPainter &painter, const Geometry &geometry, double scale) const;
    void paintEye(QPainter &painter, const Geometry &geometry, double scale, recordseries::Eye eye,
                  bool line) const;
    void paintIntervals(QPainter &painter, const Geometry &geometry, double scale,
                        recordseries::Eye eye) const;
    void paintPreciseMarkers(QPainter &painter, const Geometry &geometry, double scale,
                             recordseries::Eye eye) const;

    GraphSeries data_;
    QString message_;
};

} // namespace mitoon
