#pragma once

#include "screencheck/pixelpitch.h"

#include <QWidget>
#include <optional>

class QLabel;
class QPushButton;
class QScreen;
class QScrollArea;
class QSlider;
class QTableWidget;
class QToolButton;

namespace mitoon {

class AcuityTest;
class CardOutline;
class Settings;

// The screen check "画面の確認": how large a pixel of this screen is (from the screen's own
// report, or measured by holding a bank card against an outline on the screen), and what the
// ring of a test then measures at the display size and distance in effect: its true size, the
// visual angle of its gap, the acuity that stands for, and where the pixels set a limit.
// Modeless, owned by the main window, one at a time; it changes nothing in the test.
class frmGamen : public QWidget
{
    Q_OBJECT
public:
    // Shows `owner`'s screen check, creating it when there is none.
    static frmGamen *showFor(QWidget *owner, const AcuityTest &test, Settings &settings);

    frmGamen(QWidget *owner, const AcuityTest &test, Settings &settings);

    // Reads the display size and distance of the test, the stored measurement and the screen
    // again and shows their figures. A card matched but not stored yet stays as it is.
    void refresh();

    // The pitch the figures are worked out with: the card as matched, else the stored
    // measurement, else the screen's report.
    std::optional<double> pitchMm() const;
    double inches() const;
    double centimetres() const;

    QLabel *pitchLabel = nullptr;
    QLabel *sourceLabel = nullptr;
    QLabel *doubtLabel = nullptr;
    QLabel *cardHelp = nullptr;
    CardOutline *card = nullptr;
    QToolButton *smaller = nullptr;
    QSlider *cardSlider = nullptr;
    QToolButton *larger = nullptr;
    QLabel *cardWidthLabel = nullptr;
    QPushButton *storeButton = nullptr;
    QPushButton *forgetButton = nullptr;
    QLabel *ringHeading = nullptr;
    QTableWidget *ringTable = nullptr;
    QLabel *gapNote = nullptr;
    QLabel *limitLabel = nullptr;
    QLabel *sizeAdvice = nullptr;
    QPushButton *closeButton = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void layOut();
    void connectHandlers();
    void placeOnOwnersScreen();

    void showPitch();
    void showCard();
    void showRings();

    void cardSlider_valueChanged(int cardWidthPx);
    void storeButton_Click();
    void forgetButton_Click();

    QScreen *shownScreen() const;
    pixelpitch::ScreenReport screenReport() const;
    double devicePixelRatio() const;

    const AcuityTest &test_;
    Settings &settings_;
    QScrollArea *scroll_ = nullptr;
    pixelpitch::InEffect effect_;
    std::optional<double> unsavedPitchMm_;
    bool placed_ = false;
};

} // namespace mitoon
