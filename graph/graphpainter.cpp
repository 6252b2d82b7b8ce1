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

// Drawn with the painter's brush.
void drawMarker(QPainter &painter, Eye eye, const GraphPoint &point, QPointF at, double scale)
{
    if (point.acuity > graphscale::kHighest || point.acuity < graphscale::kLowest) {
        // Beyond the axis: a triangle on the edge, pointing out of the graph.
        const double size = 4.5 * scale;
        const double direction = point.acuity > graphscale::kHighest ? -1 : 1;
        const QPointF corners[] = {at + QPointF(0, direction * size),
                                   at + QPointF(-size, -direction * size * 0.4),
                                   at + QPointF(size, -direction * size * 0.4)};
        painter.drawPolygon(corners, 3);
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

} // namespace

QColor GraphPainter::color(Eye eye)
{
    return eye == Eye::Hidari ? QColor(0, 70, 220) : QColor(220, 20, 20);
}

void GraphPainter::setSeries(recordseries::RecordSeries series)
{
    series_ = std::move(series);
    left_.clear();
    right_.clear();
    left_.reserve(size_t(series_.records.size()));
    right_.reserve(size_t(series_.records.size()));
    first_ = std::numeric_limits<qint64>::max();
    last_ = std::numeric_limits<qint64>::min();
    for (qsizetype i = 0; i < series_.records.size(); ++i) {
        const recordseries::AcuityRecord &record = series_.records[i];
        first_ = std::min(first_, record.moment());
        last_ = std::max(last_, record.moment());
        if (record.hidari)
            left_.push_back({record.moment(), *record.hidari, int(i)});
        if (record.migi)
            right_.push_back({record.moment(), *record.migi, int(i)});
    }
    // The file is oldest first, but a line typed out of order still joins its neighbours in time.
    const auto byMoment = [](const GraphPoint &a, const GraphPoint &b) {
        return a.moment < b.moment;
    };
    std::stable_sort(left_.begin(), left_.end(), byMoment);
    std::stable_sort(right_.begin(), right_.end(), byMoment);
}

const std::vector<GraphPoint> &GraphPainter::points(Eye eye) const
{
    return eye == Eye::Hidari ? left_ : right_;
}

double GraphPainter::Geometry::x(qint64 moment) const
{
    return plot.left() + span.fraction(moment) * plot.width();
}

double GraphPainter::Geometry::y(double acuity) const
{
    return plot.bottom() - std::clamp(graphscale::acuityFraction(acuity), 0.0, 1.0) * plot.height();
}

QPointF GraphPainter::Geometry::position(const GraphPoint &point) const
{
    return QPointF(x(point.moment), y(point.acuity));
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
    if (geometry.plot.height() < 1)
        geometry.plot.setHeight(1);

    geometry.hasSpan = !series_.records.isEmpty();
    geometry.span = geometry.hasSpan ? graphscale::timeSpan(first_, last_) : graphscale::Span{0, 1};
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
            graphscale::dateTicks(geometry.span, plot.width(), widths);
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
    // Centred over the plot, clear of the axis titles at its corners: a line with its marker,
    // then the eye's name, for each eye.
    const QFontMetricsF metrics(labelFont(), painter.device());
    const double padding = kPadding * scale, sample = 22 * scale;
    const double baseline = geometry.plot.top() - padding - metrics.descent();
    const double middle = baseline - (metrics.ascent() - metrics.descent()) / 2;
    const std::array<std::pair<Eye, QString>, 2> entries = {
        std::pair{Eye::Hidari, QStringLiteral("左目")},
        std::pair{Eye::Migi, QStringLiteral("右目")}};
    double width = 0;
    for (const auto &[eye, name] : entries)
        width += sample + padding / 2 + metrics.horizontalAdvance(name) + 3 * padding;
    double left = geometry.plot.center().x() - (width - 3 * padding) / 2;
    for (const auto &[eye, name] : entries) {
        painter.setPen(QPen(color(eye), kLineWidth * scale));
        painter.drawLine(QPointF(left, middle), QPointF(left + sample, middle));
        painter.setPen(Qt::NoPen);
        painter.setBrush(color(eye));
        drawMarker(painter, eye, {0, 1.0, 0}, QPointF(left + sample / 2, middle), scale);
        left += sample + padding / 2;
        painter.setPen(Qt::black);
        painter.drawText(QPointF(left, baseline), name);
        left += metrics.horizontalAdvance(name) + 3 * padding;
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
    const int type = painter.device()->devType();
    if (type != QInternal::Image && type != QInternal::Pixmap) {
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
        QImage image(QSize(int(2 * half * ratio), int(2 * half * ratio)),
                     QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter stampPainter(&image);
        stampPainter.setRenderHint(QPainter::Antialiasing);
        stampPainter.setPen(Qt::NoPen);
        stampPainter.setBrush(color(eye));
        drawMarker(stampPainter, eye, {0, acuity, 0}, QPointF(half, half), scale);
        return image;
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

void GraphPainter::paintHighlight(QPainter &painter, const Geometry &geometry, PointRef ref) const
{
    const double scale = scaleOf(painter.device());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2 * scale));
    painter.setBrush(Qt::NoBrush);
    const double r = kHighlightRadius * scale;
    painter.drawEllipse(geometry.position(point(ref)), r, r);
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
               qint64(std::floor((x - geometry.plot.left()) / geometry.plot.width() *
                                 double(geometry.span.to - geometry.span.from)));
    };
    const qint64 from = momentAt(position.x() - radius) - 1;
    const qint64 to = momentAt(position.x() + radius) + 1;
    std::optional<PointRef> nearest;
    double best = radius * radius;
    for (const Eye eye : {Eye::Hidari, Eye::Migi}) {
        const std::vector<GraphPoint> &points = this->points(eye);
        auto it = std::lower_bound(points.begin(), points.end(), from,
                                   [](const GraphPoint &p, qint64 m) { return p.moment < m; });
        for (; it != points.end() && it->moment <= to; ++it) {
            const QPointF d = geometry.position(*it) - position;
            const double distance = d.x() * d.x() + d.y() * d.y();
            if (distance <= best) {
                best = distance;
                nearest = PointRef{eye, int(it - points.begin())};
            }
        }
    }
    return nearest;
}

} // namespace mitoon
