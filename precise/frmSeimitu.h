#pragma once

#include "precise/precisesession.h"
#include "screencheck/pixelpitch.h"

#include <QElapsedTimer>
#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QScreen;
class QSpinBox;
class QStackedWidget;

namespace mitoon {

class AcuityTest;
class Settings;

namespace precise {
class RingCanvas;
}

// The window "精密測定": a standard measurement of one eye's acuity, beside the classic test of
// the main window, which it leaves as it is. It fills the screen the main window is on: the
// set-up (the eye, the distance, the rings, the tone, what is known of the screen), then one
// ring at a time, then the result, in type large enough to read from 3 m. Esc or "閉じる"
// leaves; a run left before its end is not stored. One window at a time, owned by the main
// window.
class frmSeimitu : public QWidget
{
    Q_OBJECT
public:
    // Shows `owner`'s window, creating it when there is none, with `distanceCm` as the
    // distance a new one starts from.
    static frmSeimitu *showFor(QWidget *owner, const AcuityTest &test, Settings &settings,
                               double distanceCm);

    frmSeimitu(QWidget *owner, const AcuityTest &test, Settings &settings, double distanceCm);
    ~frmSeimitu() override;

    precise::PreciseSession &session() { return *session_; }

    // The set-up.
    QLabel *heading = nullptr;
    QPushButton *leftEye = nullptr;
    QPushButton *rightEye = nullptr;
    QSpinBox *distance = nullptr;
    QComboBox *trials = nullptr;
    QCheckBox *tone = nullptr;
    QLabel *pitchLabel = nullptr;
    QLabel *warningLabel = nullptr;
    QPushButton *cardButton = nullptr;
    QLabel *bestLabel = nullptr;
    QLabel *problemLabel = nullptr;
    QLabel *coverLabel = nullptr;
    QLabel *hintLabel = nullptr;
    QPushButton *startButton = nullptr;
    QPushButton *closeButton = nullptr;
    // The rings.
    precise::RingCanvas *canvas = nullptr;
    // The result.
    QLabel *resultLabel = nullptr;
    QLabel *storedLabel = nullptr;
    QPushButton *otherEyeButton = nullptr;
    QPushButton *againButton = nullptr;
    QPushButton *storeAgainButton = nullptr;
    QPushButton *resultCloseButton = nullptr;

    // The user's answer to the ring on view: an orientation 1 to 8 or precise::kCannotSee.
    void answer(int orientation);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QWidget *createSetup();
    QWidget *createResult();
    void connectHandlers();
    void placeOnScreenOf(const QWidget *owner);

    // Copies the session's state to the controls.
    void showStage();
    void showSetup();
    void showRing();
    void showResult();
    // Reads the screen the window is on and the pitch in effect, gives them to the session and
    // shows them: when the window opens, when it is activated again in its set-up (a card may
    // have been measured meanwhile) and at the start of a run.
    void readScreen();
    precise::PreciseSession::Screen sessionScreen(const pixelpitch::ScreenReport &report,
                                                  const pixelpitch::InEffect &effect) const;
    bool handleKey(QKeyEvent *key);

    void startButton_Click();
    void cardButton_Click();
    void otherEyeButton_Click();
    void againButton_Click();
    void storeAgainButton_Click();

    const AcuityTest &test_;
    Settings &settings_;
    std::unique_ptr<precise::PreciseSession> session_;
    QStackedWidget *pages_ = nullptr;
    QWidget *setupPage_ = nullptr;
    QWidget *resultPage_ = nullptr;
    // How long the ring on view has been on view.
    QElapsedTimer shown_;
    bool ringPending_ = false;
};

} // namespace mitoon
