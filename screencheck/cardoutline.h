#pragma once

#include <QWidget>

namespace mitoon {

// The outline of a bank card (85.60 × 53.98 mm) drawn at a pixel pitch, for the user to hold a
// real card against. It is drawn in the screen's own pixels: with desktop scaling one logical
// pixel is several of them, and the card's width is a whole number of them. Its top-left
// corner stays in place as it grows and shrinks. Whoever moves it to a screen of another
// scaling asks for its geometry again (updateGeometry).
class CardOutline : public QWidget
{
    Q_OBJECT
public:
    explicit CardOutline(QWidget *parent = nullptr);

    double pitchMm() const { return pitchMm_; }
    void setPitchMm(double pitchMm);

    // The card as drawn, in the screen's pixels from the widget's top-left corner.
    QRect cardInScreenPixels() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double pitchMm_ = 0.25;
};

} // namespace mitoon
