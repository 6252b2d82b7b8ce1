#include "graph/graphpainter.h"

#include "platform/fonts.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace mitoon {

using recordseries::Eye;

namespace {

// Lengths for 96 dots per inch.
constexpr double kTick = 5;
constexpr double kPadding = 6;
constexpr double kLineWidth = 1.0;
constexpr double kCircleRadius = 3.5;
constexpr double kSquareHalf = 3.2;
constexpr double kHighlightRadius = 8;
constexpr double kDiamondHalf = 4.6;
constexpr double kStarRadius = 5.6;
constexpr double kCapHalf = 2.5;
// The limit arrow beside a result of 精密測定: how far right of its centre, how long, its head.
constexpr double kArrowOffset = 8;
constexpr double kArrowHalf = 4.5;
constexpr double kArrowHead = 2.5;
// How far beside its moment a marker of 精密測定 stands (the left eye's left, the right eye's
// right): a diamond and a star apart.
constexpr double kPreciseDodge = 6;
// The time axis keeps this far inside the plot's frame when there are results of 精密測定: a
// star beside the latest moment (6 + 5.6 + its outline) stays whole.
constexpr double kPreciseTimeInset = 13;
// Room around a stamp's centre for the marker and its arrow.
constexpr double kPreciseStampHalf = 11;

QFont labelFont()
{
    return fonts::fixedFont(fonts::kPGothic, 9);
}

double scaleOf(const QPaintDevice *device)
{
    return device ? device->logicalDpiY() / 96.0 : 1.0;
}

QString decimalLabel(double acuity)
{
    return QString::number(acuity, 'f', 1);
}

// The first, highest, lowest and last point of every pixel column, in time order.
QPolygonF reducedLine(const std::vector<GraphPoint> &points, const GraphPainter::Geometry &geometry)
{
    struct Kept
    {
        size_t index;
        QPointF at;
    };
    QPolygonF line;
    std::array<Kept, 4> kept{}; // first, top, bottom, last
    bool open = false;
    double column = 0;
    const auto flush = [&] {
        std::array<Kept, 4> ordered = kept;
        std::sort(ordered.begin(), ordered.end(),
                  [](const Kept &a, const Kept &b) { return a.index < b.index; });
        for (size_t i = 0; i < ordered.size(); ++i)
            if (i == 0 || ordered[i].index != ordered[i - 1].index)
                line.append(ordered[i].at);
    };
    line.reserve(qsizetype(std::min<size_t>(points.size(), 4 * size_t(geometry.plot.width() + 2))));
    for (size_t i = 0; i < points.size(); ++i) {
        const QPointF at = geometry.position(points[i]);
        const double x = std::floor(at.x());
        if (!open || x != column) {
            if (open)
                flush();
            open = true;
            column = x;
            kept.fill({i, at});
            continue;
        }
        kept[3] = {i, at};
        if (at.y() < kept[1].at.y())
            kept[1] = {i, at};
        if (at.y() > kept[2].at.y())
            kept[2] = {i, at};
    }
    if (open)
        flush();
    return line;
}

// The points to draw as markers: of those whose centres share a cell of `cell` × `cell`, the
// first.
std::vector<size_t> visibleSpots(const std::vector<GraphPoint> &points,
                                 const GraphPainter::Geometry &geometry, double cell)
{
    std::vector<size_t> spots;
    const size_t rows = size_t(std::max(0.0, geometry.plot.height() / cell)) + 3;
    std::vector<double> seenInColumn(rows, std::numeric_limits<double>::quiet_NaN());
    for (size_t i = 0; i < points.size(); ++i) {
        const QPointF at = geometry.position(points[i]);
        const double column = std::floor(at.x() / cell);
        const double row = std::floor((at.y() - geometry.plot.top()) / cell) + 1;
        const size_t slot = size_t(std::clamp(row, 0.0, double(rows - 1)));
        if (seenInColumn[slot] == column)
            continue;
        seenInColumn[slot] = column;
        spots.push_back(i);
    }
    return spots;
}

bool beyondAxis(double acuity)
{
    return acuity > graphscale::kHighest || acuity < graphscale::kLowest;
}

// Beyond the axis: a triangle on the edge, pointing out of the graph.
void drawOutside(QPainter &painter, double acuity, QPointF at, double scale)
{
    const double size = 4.5 * scale;
    const double direction = acuity > graphscale::kHighest ? -1 : 1;
    const QPointF corners[] = {at + QPointF(0, direction * size),
                               at + QPointF(-size, -direction * size * 0.4),
                               at + QPointF(size, -direction * size * 0.4)};
    painter.drawPolygon(corners, 3);
}

// Drawn with the painter's brush.
void drawMarker(QPainter &painter, Eye eye, const GraphPoint &point, QPointF at, double scale)
{
    if (beyondAxis(point.acuity)) {
        drawOutside(painter, point.acuity, at, scale);
        return;
    }
    if (eye == Eye::Hidari) {
        const double r = kCircleRadius * scale;
        painter.drawEllipse(at, r, r);
    } else {
        const double h = kSquareHalf * scale;
        painter.drawRect(QRectF(at.x() - h, at.y() - h, 2 * h, 2 * h));
    }
}

// A result of 精密測定: a diamond for the left eye, a five-pointed star for the right, each
// unlike every marker of the classic test, the triangles on the edges among them. A result at a
// limit of the screen's range gets an arrow beside it towards where the true acuity may lie:
// up for at least, down for at most. On the edge an arrow pointing out would say no more than
// the triangle there, and would be cut off; one pointing in is drawn.
void drawPreciseMarker(QPainter &painter, Eye eye, double acuity, precise::RangeLimit limit,
                       QPointF at, double scale)
{
    const QColor colour = GraphPainter::color(eye, SeriesKind::Precise);
    QPolygonF shape;
    if (beyondAxis(acuity)) {
        const double size = 4.5 * scale;
        const double direction = acuity > graphscale::kHighest ? -1 : 1;
        shape << at + QPointF(0, direction * size) << at + QPointF(-size, -direction * size * 0.4)
              << at + QPointF(size, -direction * size * 0.4);
    } else if (eye == Eye::Hidari) {
        const double h = kDiamondHalf * scale;
        shape << at + QPointF(0, -h) << at + QPointF(h, 0) << at + QPointF(0, h)
              << at + QPointF(-h, 0);
    } else {
        for (int i = 0; i < 10; ++i) {
            const double r = (i % 2 ? 0.45 : 1.0) * kStarRadius * scale;
            const double angle = std::numbers::pi * (i / 5.0 - 0.5);
            shape << at + QPointF(r * std::cos(angle), r * std::sin(angle));
        }
    }
    // A thin white halo keeps the marker apart from the classic test's lines and points under
    // it; the marker itself is filled whole.
    painter.setPen(QPen(Qt::white, 2 * scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(shape);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(shape);
    if (limit == precise::RangeLimit::None)
        return;
    const double up = limit == precise::RangeLimit::Finest ? -1 : 1; // screen y grows downwards
    if ((acuity > graphscale::kHighest && up < 0) || (acuity < graphscale::kLowest && up > 0))
        return;
    const double x = at.x() + kArrowOffset * scale, half = kArrowHalf * scale;
    const QPointF tip(x, at.y() + up * half);
    const double head = kArrowHead * scale;
    painter.setPen(QPen(colour, 1.2 * scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(x, at.y() - up * half), tip);
    const QPointF wings[] = {tip + QPointF(-head, -up * head), tip,
                             tip + QPointF(head, -up * head)};
    painter.drawPolyline(wings, 3);
}

// One bar of 95 % intervals in a column: from `top` to `bottom`, with a cap at an end that is
// an end of an interval rather than the edge of the axis.
struct Bar
{
    double column = 0;
    double top = 0;
    double bottom = 0;
    bool capTop = false;
    bool capBottom = false;
};

// Intervals that overlap in one pixel column become one bar: the union draws the same pixels.
std::vector<Bar> mergedBars(std::vector<Bar> bars)
{
    std::sort(bars.begin(), bars.end(), [](const Bar &a, const Bar &b) {
        return a.column != b.column ? a.column < b.column : a.top < b.top;
    });
    std::vector<Bar> merged;
    for (const Bar &bar : bars) {
        if (!merged.empty() && merged.back().column == bar.column &&
            bar.top <= merged.back().bottom) {
            Bar &last = merged.back();
            if (bar.top == last.top)
                last.capTop = last.capTop || bar.capTop;
            if (bar.bottom > last.bottom) {
                last.bottom = bar.bottom;
                last.capBottom = bar.capBottom;
            } else if (bar.bottom == last.bottom) {
                last.capBottom = last.capBottom || bar.capBottom;
            }
            continue;
        }
        merged.push_back(bar);
    }
    return merged;
}

bool onPixels(const QPainter &painter)
{
    const int type = painter.device()->devType();
    return type == QInternal::Image || type == QInternal::Pixmap;
}

// A marker drawn once on a transparent square image of `size` with its centre at `centre`, to
// be copied to its places.
template <class Draw> QImage stampImage(double size, double centre, double ratio, Draw draw)
{
    QImage image(QSize(int(size * ratio), int(size * ratio)), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter stampPainter(&image);
    stampPainter.setRenderHint(QPainter::Antialiasing);
    draw(stampPainter, QPointF(centre, centre));
    return image;
}

// The width of a legend's sample: a line with its marker, or for 精密測定 the marker on a bar.
double legendSample(SeriesKind kind, double scale)
{
    return (kind == SeriesKind::Classic ? 22 : 12) * scale;
}

// A row of legend entries: each a sample and a name, with room between them.
double legendRowWidth(const QList<GraphPainter::LegendEntry> &entries, const QFontMetricsF &metrics,
                      double scale)
{
    const double padding = kPadding * scale;
    double width = 0;
    for (const GraphPainter::LegendEntry &entry : entries)
        width += legendSample(entry.series.kind, scale) + padding / 2 +
                 metrics.horizontalAdvance(entry.name) + 3 * padding;
    return entries.isEmpty() ? 0 : width - 3 * padding;
}
} // namespace

QColor GraphPainter::color(Eye eye, SeriesKind kind)
{
    if (kind == SeriesKind::Precise)
        return eye == Eye::Hidari ? QColor(0, 30, 130) : QColor(150, 0, 30);
    return eye == Eye::Hidari ? QColor(0, 70, 220) : QColor(220, 20, 20);
}

void GraphPainter::setSeries(recordseries::RecordSeries series, QList<precise::StoredRun> runs)
{
    data_ = GraphSeries(std::move(series), std::move(runs));
}

QList<GraphPainter::LegendEntry> GraphPainter::legendEntries() const
{
    QList<LegendEntry> entries = {{{Eye::Hidari, SeriesKind::Classic}, QStringLiteral("左目")},
                                  {{Eye::Migi, SeriesKind::Classic}, QStringLiteral("右目")}};
    if (data_.hasPrecisePoints()) {
        entries.append({{Eye::Hidari, SeriesKind::Precise}, QStringLiteral("精密測定 左目")});
        entries.append({{Eye::Migi, SeriesKind::Precise}, QStringLiteral("精密測定 右目")});
    }
    return entries;
}

double GraphPainter::Geometry::x(qint64 moment) const
{
    return plot.left() + timeInset + span.fraction(moment) * (plot.width() - 2 * timeInset);
}

double GraphPainter::Geometry::y(double acuity) const
{
    return plot.bottom() - std::clamp(graphscale::acuityFraction(acuity), 0.0, 1.0) * plot.height();
}

QPointF GraphPainter::Geometry::position(const GraphPoint &point) const
{
    return QPointF(x(point.moment), y(point.acuity));
}

double GraphPainter::Geometry::x(qint64 moment, SeriesId series) const
{
    if (series.kind == SeriesKind::Classic)
        return x(moment);
    return x(moment) + (series.eye == Eye::Hidari ? -preciseDodge : preciseDodge);
}

QPointF GraphPainter::Geometry::position(const GraphPoint &point, SeriesId series) const
{
    return QPointF(x(point.moment, series), y(point.acuity));
}

GraphPainter::Geometry GraphPainter::geometry(const QRectF &area, const QPaintDevice *device) const
{
    const double scale = scaleOf(device);
    const QFontMetricsF metrics(labelFont(), device);
    double leftLabels = metrics.horizontalAdvance(QStringLiteral("視力"));
    double rightLabels = metrics.horizontalAdvance(QStringLiteral("logMAR"));
    for (const double value : graphscale::kGrid) {
        leftLabels = std::max(leftLabels, metrics.horizontalAdvance(decimalLabel(value)));
        rightLabels =
            std::max(rightLabels, metrics.horizontalAdvance(graphscale::logMarLabel(value)));
    }
    const double tick = kTick * scale, padding = kPadding * scale;
    Geometry geometry;
    geometry.plot =
        area.adjusted(leftLabels + tick + padding, metrics.height() + 2 * padding,
                      -(rightLabels + tick + padding), -(metrics.height() + tick + padding));
    if (geometry.plot.width() < 1)
        geometry.plot.setWidth(1);
    // One row of the legend goes between the axis titles at the plot's corners; when all four
    // series do not fit there, 精密測定's get a row of their own above.
    const QList<LegendEntry> entries = legendEntries();
    if (entries.size() > 2 &&
        legendRowWidth(entries, metrics, scale) > geometry.plot.width() + 2 * tick - padding) {
        geometry.legendRows = 2;
        geometry.plot.setTop(geometry.plot.top() + metrics.lineSpacing());
    }
    if (geometry.plot.height() < 1)
        geometry.plot.setHeight(1);

    geometry.preciseDodge = std::round(kPreciseDodge * scale);
    if (data_.hasPrecisePoints())
        geometry.timeInset =
            std::min(std::round(kPreciseTimeInset * scale), (geometry.plot.width() - 1) / 2);
    geometry.hasSpan = data_.hasMoments();
    geometry.span = geometry.hasSpan ? graphscale::timeSpan(data_.first(), data_.last())
                                     : graphscale::Span{0, 1};
    return geometry;
}

void GraphPainter::paint(QPainter &painter, const QRectF &area) const
{
    const double scale = scaleOf(painter.device());
    const Geometry geometry = this->geometry(area, painter.device());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(geometry.plot, Qt::white);
    paintAxes(painter, geometry, scale);
    paintLegend(painter, geometry, scale);

    // Points on the edges stay whole; nothing else leaves the plot.
    const double margin = 6 * scale;
    painter.setClipRect(geometry.plot.adjusted(-margin, -margin, margin, margin));
    paintEye(painter, geometry, scale, Eye::Migi, true);
    paintEye(painter, geometry, scale, Eye::Hidari, true);
    // The left eye's circles go over the right eye's squares: where both eyes have the same
    // value, the corners of the square still show.
    paintEye(painter, geometry, scale, Eye::Migi, false);
    paintEye(painter, geometry, scale, Eye::Hidari, false);
    // 精密測定 over the classic test: its results are the fewer and each stands alone.
    if (data_.hasPrecisePoints()) {
        paintIntervals(painter, geometry, scale, Eye::Migi);
        paintIntervals(painter, geometry, scale, Eye::Hidari);
        paintPreciseMarkers(painter, geometry, scale, Eye::Migi);
        paintPreciseMarkers(painter, geometry, scale, Eye::Hidari);
    }
    painter.setClipping(false);

    if (!hasPoints() && !message_.isEmpty()) {
        painter.setPen(Qt::black);
        painter.setFont(fonts::font(fonts::kPGothic, 11));
        const double inset = 4 * kPadding * scale;
        painter.drawText(geometry.plot.adjusted(inset, inset, -inset, -inset),
                         Qt::AlignCenter | Qt::TextWordWrap, message_);
    }
    painter.restore();
}

void GraphPainter::paintAxes(QPainter &painter, const Geometry &geometry, double scale) const
{
    const QRectF &plot = geometry.plot;
    const QFont font = labelFont();
    const QFontMetricsF metrics(font, painter.device());
    const double tick = kTick * scale, padding = kPadding * scale;
    painter.setFont(font);

    // Time: a light line and a label at each tick.
    if (geometry.hasSpan) {
        const double gap = 2 * metrics.averageCharWidth();
        const std::array<double, 3> widths = {
            metrics.horizontalAdvance(QStringLiteral("0000-00-00")) + gap,
            metrics.horizontalAdvance(QStringLiteral("0000-00")) + gap,
            metrics.horizontalAdvance(QStringLiteral("0000")) + gap};
        const QList<graphscale::Tick> ticks =
            graphscale::dateTicks(geometry.span, plot.width() - 2 * geometry.timeInset, widths);
        for (const graphscale::Tick &t : ticks) {
            const double x = geometry.x(t.moment);
            painter.setPen(QPen(QColor(225, 225, 225), scale));
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
            painter.setPen(QPen(QColor(90, 90, 90), scale));
            painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + tick));
            const double width = metrics.horizontalAdvance(t.label);
            const double left = std::clamp(x - width / 2, plot.left() - tick - padding,
                                           plot.right() + tick + padding - width);
            painter.setPen(Qt::black);
            painter.drawText(QPointF(left, plot.bottom() + tick + metrics.ascent()), t.label);
        }
    }

    // Acuity: grid lines with the decimal value on the left and logMAR on the right.
    const double baselineShift = (metrics.ascent() - metrics.descent()) / 2;
    for (const double value : graphscale::kGrid) {
        const double y = geometry.y(value);
        painter.setPen(QPen(QColor(200, 200, 200), scale));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(QPen(QColor(90, 90, 90), scale));
        painter.drawLine(QPointF(plot.left() - tick, y), QPointF(plot.left(), y));
        painter.drawLine(QPointF(plot.right(), y), QPointF(plot.right() + tick, y));
        painter.setPen(Qt::black);
        const QString decimal = decimalLabel(value);
        painter.drawText(
            QPointF(plot.left() - tick - padding / 2 - metrics.horizontalAdvance(decimal),
                    y + baselineShift),
            decimal);
        painter.drawText(QPointF(plot.right() + tick + padding / 2, y + baselineShift),
                         graphscale::logMarLabel(value));
    }
    painter.setPen(QPen(QColor(90, 90, 90), scale));
    for (const double value : graphscale::kMinorTicks) {
        const double y = geometry.y(value);
        painter.drawLine(QPointF(plot.left() - tick / 2, y), QPointF(plot.left(), y));
        painter.drawLine(QPointF(plot.right(), y), QPointF(plot.right() + tick / 2, y));
    }
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    painter.setPen(Qt::black);
    const double titleBaseline = plot.top() - padding - metrics.descent();
    const QString acuityTitle = QStringLiteral("視力");
    painter.drawText(
        QPointF(plot.left() - tick - padding / 2 - metrics.horizontalAdvance(acuityTitle),
                titleBaseline),
        acuityTitle);
    painter.drawText(QPointF(plot.right() + tick + padding / 2, titleBaseline),
                     QStringLiteral("logMAR"));
}

void GraphPainter::paintLegend(QPainter &painter, const Geometry &geometry, double scale) const
{
    // Centred over the plot, clear of the axis titles at its corners: a sample of the series,
    // then its name, for each series; the classic test's on the row beside the titles.
    const QFontMetricsF metrics(labelFont(), painter.device());
    const double padding = kPadding * scale;
    const double baseline = geometry.plot.top() - padding - metrics.descent();
    QList<LegendEntry> rows[2];
    for (const LegendEntry &entry : legendEntries())
        rows[geometry.legendRows == 2 && entry.series.kind == SeriesKind::Precise ? 1 : 0].append(
            entry);
    for (int row = 0; row < 2; ++row) {
        const double rowBaseline = baseline - row * metrics.lineSpacing();
        const double middle = rowBaseline - (metrics.ascent() - metrics.descent()) / 2;
        double left = geometry.plot.center().x() - legendRowWidth(rows[row], metrics, scale) / 2;
        for (const LegendEntry &entry : rows[row]) {
            const Eye eye = entry.series.eye;
            const double sample = legendSample(entry.series.kind, scale);
            const QPointF centre(left + sample / 2, middle);
            if (entry.series.kind == SeriesKind::Classic) {
                painter.setPen(QPen(color(eye), kLineWidth * scale));
                painter.drawLine(QPointF(left, middle), QPointF(left + sample, middle));
                painter.setPen(Qt::NoPen);
                painter.setBrush(color(eye));
                drawMarker(painter, eye, {0, 1.0, 0}, centre, scale);
            } else {
                // No line: the results of 精密測定 are not joined. A bar as their intervals.
                const double h = metrics.ascent() / 2 + scale, cap = kCapHalf * scale;
                painter.setPen(QPen(color(eye, SeriesKind::Precise), kLineWidth * scale));
                painter.drawLine(centre + QPointF(0, -h), centre + QPointF(0, h));
                for (const double y : {-h, h})
                    painter.drawLine(centre + QPointF(-cap, y), centre + QPointF(cap, y));
                drawPreciseMarker(painter, eye, 1.0, precise::RangeLimit::None, centre, scale);
            }
            left += sample + padding / 2;
            painter.setPen(Qt::black);
            painter.drawText(QPointF(left, rowBaseline), entry.name);
            left += metrics.horizontalAdvance(entry.name) + 3 * padding;
        }
    }
}

void GraphPainter::paintEye(QPainter &painter, const Geometry &geometry, double scale, Eye eye,
                            bool line) const
{
    const std::vector<GraphPoint> &points = this->points(eye);
    if (points.empty())
        return;
    if (line) {
        // Segment by segment: one long polyline makes the stroker work on a single huge path.
        const QPolygonF polyline = reducedLine(points, geometry);
        QList<QLineF> segments;
        segments.reserve(polyline.size());
        for (qsizetype i = 1; i < polyline.size(); ++i)
            segments.append(QLineF(polyline[i - 1], polyline[i]));
        painter.setPen(QPen(color(eye), kLineWidth * scale, Qt::SolidLine, Qt::SquareCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawLines(segments);
        return;
    }
    const std::vector<size_t> spots = visibleSpots(points, geometry, std::max(1.0, 2.5 * scale));
    if (!onPixels(painter)) {
        // A printer or a PDF file gets every marker as a shape of its own.
        painter.setPen(Qt::NoPen);
        painter.setBrush(color(eye));
        for (const size_t i : spots)
            drawMarker(painter, eye, points[i], geometry.position(points[i]), scale);
        return;
    }
    // On pixels, each kind of marker is drawn once and then copied to its places, which is
    // several times quicker than drawing thousands of smoothed shapes.
    const double ratio = painter.device()->devicePixelRatioF();
    const double half = std::ceil(5 * scale) + 1;
    const auto stamp = [&](double acuity) {
        return stampImage(2 * half, half, ratio, [&](QPainter &stampPainter, QPointF centre) {
            stampPainter.setPen(Qt::NoPen);
            stampPainter.setBrush(color(eye));
            drawMarker(stampPainter, eye, {0, acuity, 0}, centre, scale);
        });
    };
    const QImage inside = stamp(1.0), above = stamp(2 * graphscale::kHighest),
                 below = stamp(graphscale::kLowest / 2);
    for (const size_t i : spots) {
        const double acuity = points[i].acuity;
        const QImage &image = acuity > graphscale::kHighest  ? above
                              : acuity < graphscale::kLowest ? below
                                                             : inside;
        const QPointF at = geometry.position(points[i]) - QPointF(half, half);
        painter.drawImage(QPointF(std::round(at.x()), std::round(at.y())), image);
    }
}

void GraphPainter::paintIntervals(QPainter &painter, const Geometry &geometry, double scale,
                                  Eye eye) const
{
    const std::vector<GraphPoint> &points = this->points(eye, SeriesKind::Precise);
    if (points.empty())
        return;
    // On pixels a bar runs down the middle of a pixel column, where the marker's centre is.
    const bool pixels = onPixels(painter);
    std::vector<Bar> bars;
    bars.reserve(points.size());
    for (const GraphPoint &point : points) {
        const DecimalInterval interval = decimalInterval(data_.runs()[point.record].result);
        const double x = geometry.x(point.moment, {eye, SeriesKind::Precise});
        bars.push_back({std::floor(x), geometry.y(interval.best), geometry.y(interval.worst),
                        interval.best <= graphscale::kHighest,
                        interval.worst >= graphscale::kLowest});
        if (!pixels)
            bars.back().column = x; // drawn where it is; merged only where it is the same
    }
    QList<QLineF> lines;
    const double cap = kCapHalf * scale;
    for (const Bar &bar : mergedBars(std::move(bars))) {
        const double x = pixels ? bar.column + 0.5 : bar.column;
        if (bar.bottom > bar.top)
            lines.append(QLineF(x, bar.top, x, bar.bottom));
        if (bar.capTop)
            lines.append(QLineF(x - cap, bar.top, x + cap, bar.top));
        if (bar.capBottom)
            lines.append(QLineF(x - cap, bar.bottom, x + cap, bar.bottom));
    }
    painter.setPen(
        QPen(color(eye, SeriesKind::Precise), kLineWidth * scale, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawLines(lines);
}

void GraphPainter::paintPreciseMarkers(QPainter &painter, const Geometry &geometry, double scale,
                                       Eye eye) const
{
    const std::vector<GraphPoint> &points = this->points(eye, SeriesKind::Precise);
    if (points.empty())
        return;
    const std::vector<size_t> spots = visibleSpots(points, geometry, std::max(1.0, 2.5 * scale));
    const auto limitOf = [&](size_t i) { return data_.runs()[points[i].record].result.limit; };
    if (!onPixels(painter)) {
        for (const size_t i : spots)
            drawPreciseMarker(painter, eye, points[i].acuity, limitOf(i),
                              geometry.position(points[i], {eye, SeriesKind::Precise}), scale);
        return;
    }
    // Stamps as for the classic test, one for each place against the axis and each limit,
    // made when first needed. Their centre is that of a pixel, on the bar's column.
    const double ratio = painter.device()->devicePixelRatioF();
    const double half = std::ceil(kPreciseStampHalf * scale) + 1;
    std::array<QImage, 9> stamps;
    for (const size_t i : spots) {
        const double acuity = points[i].acuity;
        const int place = acuity > graphscale::kHighest ? 1 : acuity < graphscale::kLowest ? 2 : 0;
        const precise::RangeLimit limit = limitOf(i);
        QImage &image = stamps[size_t(3 * place + int(limit))];
        if (image.isNull())
            image = stampImage(
                2 * half + 1, half + 0.5, ratio, [&](QPainter &stampPainter, QPointF centre) {
                    drawPreciseMarker(stampPainter, eye, acuity, limit, centre, scale);
                });
        const QPointF at = geometry.position(points[i], {eye, SeriesKind::Precise});
        painter.drawImage(QPointF(std::floor(at.x()) - half, std::floor(at.y()) - half), image);
    }
}

void GraphPainter::paintHighlight(QPainter &painter, const Geometry &geometry, PointRef ref) const
{
    const double scale = scaleOf(painter.device());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2 * scale));
    painter.setBrush(Qt::NoBrush);
    const double r = kHighlightRadius * scale;
    painter.drawEllipse(geometry.position(point(ref), {ref.eye, ref.kind}), r, r);
    painter.restore();
}

void GraphPainter::paintPage(QPainter &painter, const QRectF &page, const QString &heading,
                             const QString &subheading) const
{
    const double scale = scaleOf(painter.device());
    painter.save();
    const QFont headingFont = fonts::font(fonts::kPGothic, 16, true);
    const QFont subheadingFont = fonts::font(fonts::kPGothic, 10);
    painter.setPen(Qt::black);
    painter.setFont(headingFont);
    QRectF used;
    painter.drawText(page, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, heading, &used);
    double top = used.bottom() + kPadding * scale;
    painter.setFont(subheadingFont);
    painter.drawText(QRectF(page.left(), top, page.width(), page.bottom() - top),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, subheading, &used);
    top = used.bottom() + 2 * kPadding * scale;
    painter.restore();
    paint(painter, QRectF(page.left(), top, page.width(), page.bottom() - top));
}

std::optional<PointRef> GraphPainter::pointAt(const Geometry &geometry, QPointF position,
                                              double radius) const
{
    if (!geometry.hasSpan || geometry.plot.width() <= 0)
        return std::nullopt;
    // The moments that lie within `radius` across, found by halving, then the nearest centre.
    const auto momentAt = [&](double x) {
        return geometry.span.from +
               qint64(std::floor((x - geometry.plot.left() - geometry.timeInset) /
                                 (geometry.plot.width() - 2 * geometry.timeInset) *
                                 double(geometry.span.to - geometry.span.from)));
    };
    const qint64 from = momentAt(position.x() - radius - geometry.preciseDodge) - 1;
    const qint64 to = momentAt(position.x() + radius + geometry.preciseDodge) + 1;
    std::optional<PointRef> nearest;
    double best = radius * radius;
    for (const SeriesId series : kAllSeries) {
        const std::vector<GraphPoint> &points = data_.points(series);
        auto it = std::lower_bound(points.begin(), points.end(), from,
                                   [](const GraphPoint &p, qint64 m) { return p.moment < m; });
        for (; it != points.end() && it->moment <= to; ++it) {
            const QPointF d = geometry.position(*it, series) - position;
            const double distance = d.x() * d.x() + d.y() * d.y();
            if (distance <= best) {
                best = distance;
                nearest = PointRef{series.eye, int(it - points.begin()), series.kind};
            }
        }
    }
    return nearest;
}

} // namespace mitoon
