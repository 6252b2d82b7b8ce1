#include "app/ringimage.h"

#include "acuity/calibration.h"
#include "platform/twips.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace mitoon {

namespace {
// Widgets cannot be larger than this; the picture itself is still stretched to its extents.
constexpr double kLargestWidget = 16000;

int widgetExtent(double pixels)
{
    return int(std::ceil(std::clamp(pixels, 0.0, kLargestWidget)));
}
} // namespace

RingImage::RingImage(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setFocusPolicy(Qt::NoFocus);
}

void RingImage::setPicture(const QPixmap &picture)
{
    picture_ = picture;
    update();
}

void RingImage::setWidthUnits(float units)
{
    widthUnits_ = units;
    fitWidget();
}

void RingImage::setHeightUnits(float units)
{
    heightUnits_ = units;
    fitWidget();
}

double RingImage::widthTwips() const
{
    return double(widthUnits_) * kTwipsPerHorizontalUnit;
}

double RingImage::heightTwips() const
{
    return double(heightUnits_) * kTwipsPerVerticalUnit;
}

QSizeF RingImage::pixelSize() const
{
    return QSizeF(twips::toPixels(widthTwips()), twips::toPixels(heightTwips()));
}

void RingImage::fitWidget()
{
    const QSizeF size = pixelSize();
    resize(widgetExtent(size.width()), widgetExtent(size.height()));
    update();
}

void RingImage::paintEvent(QPaintEvent *)
{
    if (picture_.isNull())
        return;
    const QRectF target(QPointF(0, 0), pixelSize());
    const QRectF visible = target.intersected(QRectF(rect()));
    if (visible.isEmpty())
        return;
    // Draw only the part that can be seen, taken from the matching part of the picture, so a
    // huge ring costs no more than a small one.
    const double scaleX = picture_.width() / target.width();
    const double scaleY = picture_.height() / target.height();
    const QRectF source(visible.x() * scaleX, visible.y() * scaleY, visible.width() * scaleX,
                        visible.height() * scaleY);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(visible, picture_, source);
}

} // namespace mitoon
