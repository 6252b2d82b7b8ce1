#pragma once

#include <QPixmap>
#include <QWidget>

namespace mitoon {

// The image control that shows the ring: its picture drawn smoothly stretched to its extents.
// The extents are kept in the window's ring units as single-precision values, exactly as they
// were set, so shrinking many times in a row loses nothing to rounding. The top-left corner
// stays where the layout put it; a ring larger than the window is cut off at its edge.
class RingImage : public QWidget
{
    Q_OBJECT
public:
    explicit RingImage(QWidget *parent = nullptr);

    // The picture is shared with the holder it comes from, not copied.
    void setPicture(const QPixmap &picture);
    const QPixmap &picture() const { return picture_; }

    float widthUnits() const { return widthUnits_; }
    float heightUnits() const { return heightUnits_; }
    void setWidthUnits(float units);
    void setHeightUnits(float units);

    // The extents in twips and in (fractional) pixels.
    double widthTwips() const;
    double heightTwips() const;
    QSizeF pixelSize() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void fitWidget();

    QPixmap picture_;
    float widthUnits_ = 0;
    float heightUnits_ = 0;
};

} // namespace mitoon
