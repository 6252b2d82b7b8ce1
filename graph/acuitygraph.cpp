#include "graph/acuitygraph.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <iterator>

namespace mitoon {

using recordseries::Eye;

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

void AcuityGraph::setSeries(recordseries::RecordSeries series, const QString &emptyMessage)
{
    graph_.setSeries(std::move(series));
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
    return recordseries::pointText(graph_.series().records[graph_.point(*point).record],
                                   point->eye);
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
    // The arrow keys step through the points of the chosen eye in time order; Up and Down
    // change to the other eye's point nearest in time.
    const Eye eye =
        chosen_ ? chosen_->eye : (graph_.points(Eye::Hidari).empty() ? Eye::Migi : Eye::Hidari);
    const int count = int(graph_.points(eye).size());
    const int index = chosen_ ? chosen_->index : -1;
    switch (event->key()) {
    case Qt::Key_Right:
        if (count > 0)
            choose(PointRef{eye, std::min(index + 1, count - 1)});
        return;
    case Qt::Key_Left:
        if (count > 0)
            choose(PointRef{eye, index < 0 ? count - 1 : std::max(index - 1, 0)});
        return;
    case Qt::Key_Home:
        if (count > 0)
            choose(PointRef{eye, 0});
        return;
    case Qt::Key_End:
        if (count > 0)
            choose(PointRef{eye, count - 1});
        return;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const Eye other = eye == Eye::Hidari ? Eye::Migi : Eye::Hidari;
        const std::vector<GraphPoint> &points = graph_.points(other);
        if (!chosen_ || points.empty())
            break;
        const qint64 moment = graph_.point(*chosen_).moment;
        auto it = std::lower_bound(points.begin(), points.end(), moment,
                                   [](const GraphPoint &p, qint64 m) { return p.moment < m; });
        if (it == points.end() ||
            (it != points.begin() && moment - std::prev(it)->moment < it->moment - moment))
            --it;
        choose(PointRef{other, int(it - points.begin())});
        return;
    }
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

} // namespace mitoon
