#include "graph/acuitygraph.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <iterator>

namespace mitoon {

namespace {
// How near the mouse must come to a point's centre, in pixels.
constexpr double kReach = 7;
} // namespace

AcuityGraph::AcuityGraph(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize AcuityGraph::sizeHint() const
{
    return QSize(640, 360);
}

QSize AcuityGraph::minimumSizeHint() const
{
    return QSize(320, 200);
}

void AcuityGraph::setSeries(recordseries::RecordSeries series, QList<precise::StoredRun> runs,
                            const QString &emptyMessage)
{
    graph_.setSeries(std::move(series), std::move(runs));
    graph_.setMessage(emptyMessage);
    hovered_.reset();
    chosen_.reset();
    picture_ = QPixmap();
    update();
    announce();
}

GraphPainter::Geometry AcuityGraph::plotGeometry() const
{
    return graph_.geometry(QRectF(rect()), this);
}

void AcuityGraph::choose(std::optional<PointRef> point)
{
    if (point == chosen_)
        return;
    chosen_ = point;
    update();
    announce();
}

std::optional<PointRef> AcuityGraph::pointUnder(QPointF position) const
{
    return graph_.pointAt(plotGeometry(), position, kReach);
}

void AcuityGraph::setHovered(std::optional<PointRef> point)
{
    if (point == hovered_)
        return;
    hovered_ = point;
    update();
    announce();
}

QString AcuityGraph::textOf(std::optional<PointRef> point) const
{
    if (!point)
        return QString();
    return graph_.data().text(*point);
}

void AcuityGraph::announce()
{
    emit pointShown(textOf(hovered_ ? hovered_ : chosen_));
}

bool AcuityGraph::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const std::optional<PointRef> point = pointUnder(help->pos());
        if (point)
            QToolTip::showText(help->globalPos(), textOf(point), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void AcuityGraph::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (picture_.isNull() || picture_.size() != size() * ratio) {
        picture_ = QPixmap(size() * ratio);
        picture_.setDevicePixelRatio(ratio);
        picture_.fill(palette().color(backgroundRole()));
        QPainter painter(&picture_);
        graph_.paint(painter, QRectF(rect()));
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
    if (const std::optional<PointRef> ring = hovered_ ? hovered_ : chosen_)
        graph_.paintHighlight(painter, plotGeometry(), *ring);
}

void AcuityGraph::resizeEvent(QResizeEvent *event)
{
    picture_ = QPixmap();
    QWidget::resizeEvent(event);
}

void AcuityGraph::mouseMoveEvent(QMouseEvent *event)
{
    setHovered(pointUnder(event->position()));
    QWidget::mouseMoveEvent(event);
}

void AcuityGraph::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        choose(pointUnder(event->position()));
    QWidget::mousePressEvent(event);
}

void AcuityGraph::leaveEvent(QEvent *event)
{
    setHovered(std::nullopt);
    QWidget::leaveEvent(event);
}

void AcuityGraph::keyPressEvent(QKeyEvent *event)
{
    // The arrow keys step through the points of the chosen series in time order; Up and Down
    // change to the point nearest in time of the previous or next series that has points, in
    // the order classic left, classic right, 精密測定 left, 精密測定 right.
    SeriesId series = chosen_ ? SeriesId{chosen_->eye, chosen_->kind} : kAllSeries[0];
    if (!chosen_)
        for (const SeriesId candidate : kAllSeries)
            if (!graph_.data().points(candidate).empty()) {
                series = candidate;
                break;
            }
    const auto ref = [&series](int index) { return PointRef{series.eye, index, series.kind}; };
    const int count = int(graph_.data().points(series).size());
    const int index = chosen_ ? chosen_->index : -1;
    switch (event->key()) {
    case Qt::Key_Right:
        if (count > 0)
            choose(ref(std::min(index + 1, count - 1)));
        return;
    case Qt::Key_Left:
        if (count > 0)
            choose(ref(index < 0 ? count - 1 : std::max(index - 1, 0)));
        return;
    case Qt::Key_Home:
        if (count > 0)
            choose(ref(0));
        return;
    case Qt::Key_End:
        if (count > 0)
            choose(ref(count - 1));
        return;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (!chosen_)
            break;
        const int step = event->key() == Qt::Key_Down ? 1 : int(kAllSeries.size()) - 1;
        const auto at = std::find(kAllSeries.begin(), kAllSeries.end(), series);
        size_t i = size_t(at - kAllSeries.begin());
        std::optional<SeriesId> other;
        for (size_t tried = 1; tried < kAllSeries.size() && !other; ++tried) {
            i = (i + size_t(step)) % kAllSeries.size();
            if (!graph_.data().points(kAllSeries[i]).empty())
                other = kAllSeries[i];
        }
        if (!other)
            break;
        const std::vector<GraphPoint> &points = graph_.data().points(*other);
        const qint64 moment = graph_.point(*chosen_).moment;
        auto it = std::lower_bound(points.begin(), points.end(), moment,
                                   [](const GraphPoint &p, qint64 m) { return p.moment < m; });
        if (it == points.end() ||
            (it != points.begin() && moment - std::prev(it)->moment < it->moment - moment))
            --it;
        choose(PointRef{other->eye, int(it - points.begin()), other->kind});
        return;
    }
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

} // namespace mitoon
