#include "precise/ringcanvas.h"

#include "platform/fonts.h"
#include "precise/landoltring.h"
#include "precise/ringpainter.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <numbers>

namespace mitoon::precise {

namespace {

// The progress line, readable from 3 m: 30 points are 40 pixels at 96 dots per inch.
constexpr double kProgressPoints = 30;

} // namespace

RingCanvas::RingCanvas(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setFont(fonts::fixedFont(fonts::kPGothic, kProgressPoints));
}

void RingCanvas::showRing(double gapDevicePx, int orientation, const QString &progress)
{
    gapDevicePx_ = gapDevicePx;
    orientation_ = orientation;
    progress_ = progress;
    update();
}

QPointF RingCanvas::centre() const
{
    return QRectF(rect()).center();
}

std::optional<int> RingCanvas::sectorAt(QPointF position, QPointF centre)
{
    const QPointF offset = position - centre;
    if (std::hypot(offset.x(), offset.y()) < 1.0)
        return std::nullopt;
    // Clockwise from straight up, where y grows downwards; each direction owns 45° around it.
    double degrees = std::atan2(offset.x(), -offset.y()) * 180.0 / std::numbers::pi;
    if (degrees < 0)
        degrees += 360.0;
    return int(std::floor((degrees + 22.5) / 45.0)) % kOrientationCount + 1;
}

void RingCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (isOrientation(orientation_))
        paintLandoltRing(painter, gapDevicePx_, centre(), orientation_);
    if (!progress_.isEmpty()) {
        painter.setPen(Qt::black);
        const QRect below = rect().adjusted(0, 0, 0, -fontMetrics().height() / 2);
        painter.drawText(below, Qt::AlignHCenter | Qt::AlignBottom, progress_);
    }
    emit painted();
}

void RingCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && isOrientation(orientation_))
        if (const std::optional<int> sector = sectorAt(event->position(), centre()))
            emit clickedSector(*sector);
    QWidget::mousePressEvent(event);
}

} // namespace mitoon::precise
