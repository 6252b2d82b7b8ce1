#pragma once

#include <QWidget>

#include <optional>

namespace mitoon::precise {

// The white field of "精密測定" with one Landolt ring in its middle, black, at its true size in
// device pixels, and the progress ("7 / 18") below it. A click on the ring answers with the
// direction of the sector it falls in.
class RingCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit RingCanvas(QWidget *parent = nullptr);

    // The ring to draw; an orientation of 0 shows none.
    void showRing(double gapDevicePx, int orientation, const QString &progress);
    double gapDevicePx() const { return gapDevicePx_; }
    int orientation() const { return orientation_; }
    QPointF centre() const;

    // The orientation (1 to 8) of the eighth of the field around the centre that `position`
    // lies in, as a click there answers; nothing at the centre itself.
    static std::optional<int> sectorAt(QPointF position, QPointF centre);

signals:
    void painted();
    void clickedSector(int orientation);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    double gapDevicePx_ = 0;
    int orientation_ = 0;
    QString progress_;
};

} // namespace mitoon::precise
