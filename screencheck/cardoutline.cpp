#include "screencheck/cardoutline.h"

#include "screencheck/pixelpitch.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace mitoon {

namespace {

// Room around the card, in logical pixels.
constexpr int kMargin = 12;

const QColor kCardFill(214, 230, 255);
const QColor kCardEdge(0, 0, 160);

} // namespace

CardOutline::CardOutline(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CardOutline::setPitchMm(double pitchMm)
{
    if (!pixelpitch::isPlausible(pitchMm) || pitchMm == pitchMm_)
        return;
    pitchMm_ = pitchMm;
    updateGeometry();
    update();
}

QRect CardOutline::cardInScreenPixels() const
{
    const double ratio = devicePixelRatioF();
    const int origin = int(std::lround(kMargin * ratio));
    return QRect(origin, origin, int(std::lround(pixelpitch::cardWidthPx(pitchMm_))),
                 int(std::lround(pixelpitch::kCardHeightMm / pitchMm_)));
}

QSize CardOutline::sizeHint() const
{
    const QRect card = cardInScreenPixels();
    const double ratio = devicePixelRatioF();
    return QSize(int(std::ceil((card.right() + 1) / ratio)) + kMargin,
                 int(std::ceil((card.bottom() + 1) / ratio)) + kMargin);
}

QSize CardOutline::minimumSizeHint() const
{
    return sizeHint();
}

void CardOutline::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    // Draw in the screen's pixels, so that the card's edges fall on whole pixels.
    const double ratio = devicePixelRatioF();
    painter.scale(1.0 / ratio, 1.0 / ratio);
    const QRectF card = cardInScreenPixels();
    const double radius = pixelpitch::kCardCornerRadiusMm / pitchMm_;
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(card, radius, radius);
    painter.fillPath(outline, kCardFill);
    // A line one pixel wide just inside the card's edge.
    painter.setPen(QPen(kCardEdge, 1.0));
    painter.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);

    const QString label = QStringLiteral("85.60 × 53.98 mm");
    painter.scale(ratio, ratio);
    const QRectF logicalCard(card.topLeft() / ratio, card.size() / ratio);
    if (painter.fontMetrics().horizontalAdvance(label) < logicalCard.width() - 8) {
        painter.setPen(kCardEdge);
        painter.drawText(logicalCard, Qt::AlignCenter, label);
    }
}

} // namespace mitoon
