#pragma once

#include "acuity/acuityform.h"
#include "acuity/acuitytest.h"
#include "platform/formlayout.h"

#include <QMainWindow>
#include <array>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace mitoon {

class FocusStepDispatcher;
class RingImage;
class StatusBar;
class Settings;

// The main window, in which the test runs. It lays out its controls, forwards their events to
// the acuity test and shows what the test tells it.
class frmMain : public QMainWindow, public AcuityForm
{
    Q_OBJECT
public:
    explicit frmMain(Settings &settings, TrialRandom random = TrialRandom(),
                     QWidget *parent = nullptr);
    ~frmMain() override;

    // Loading: geometry, starting state, the two lists.
    void Form_Load();

    // Work of the window's construction that touches no widget, done ahead on another thread
    // while the GUI thread is busy: the next window takes the results (pictures::pixmap(),
    // fonts::condensedToFit()). The pictures decoded; the acuity box's condensed font.
    static void preparePictures();
    static void prepareFonts();

    AcuityTest &test() { return test_; }
    // The control by its name in the test logic, as its row in the layout table binds it.
    QWidget *control(Control control) const;

    // The controls, by the names the handlers use.
    QLabel *Picture1 = nullptr;
    QLineEdit *size = nullptr;
    QComboBox *inti = nullptr;
    QLineEdit *kyoritext = nullptr;
    QLineEdit *tugi = nullptr;
    QComboBox *cm = nullptr;
    std::array<QLabel *, 2> Label1{};
    QRadioButton *hidarime = nullptr;
    QRadioButton *migime = nullptr;
    QPushButton *start = nullptr;
    QPushButton *ue = nullptr;
    QPushButton *migiue = nullptr;
    QPushButton *hidariue = nullptr;
    QPushButton *hidari = nullptr;
    QLineEdit *matigaihyouji = nullptr;
    QPushButton *migi = nullptr;
    QPlainTextEdit *matigaikoumoku = nullptr;
    QPushButton *hidarisita = nullptr;
    QPushButton *migisita = nullptr;
    QPushButton *sita = nullptr;
    QLineEdit *siryokuhyouji = nullptr;
    QLineEdit *kekka = nullptr;
    QLineEdit *kekkadesu = nullptr;
    QPushButton *kekkakiroku = nullptr;
    RingImage *randort = nullptr;
    StatusBar *Bar = nullptr;
    // The hidden picture holders, one per orientation, 1 to 8 clockwise from up.
    std::array<QLabel *, 8> holders{};

    // AcuityForm; the window's own setters stay reachable under their usual names.
    using QMainWindow::setEnabled;
    using QMainWindow::setFocus;
    using QMainWindow::setVisible;
    QString text(Control control) const override;
    void setText(Control control, const QString &text) override;
    void setEnabled(Control control, bool enabled) override;
    void setVisible(Control control, bool visible) override;
    void setChecked(Control control, bool checked) override;
    void setFocus(Control control) override;
    float ringWidth() const override;
    float ringHeight() const override;
    void setRingWidth(float units) override;
    void setRingHeight(float units) override;
    void setRingPicture(int orientation) override;
    RingRoom ringRoom() const override;
    void growRingRoom(double widthTwips, double heightTwips) override;
    void beep() override;
    void setStatusText(const QString &text) override;

signals:
    // The result step sounded the beep.
    void beeped();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The status bar is docked to the bottom edge at the full width, 270 twips high.
    static constexpr int kStatusBarHeight = 270;

    // The controls from the layout table, and the hidden picture holders (frmMainLayout.cpp).
    void createControls();
    void createStatusBar();
    // The menu bar (frmMainMenus.cpp).
    void createMenus();
    void createFocusSteps();
    void connectHandlers();
    // The keys of the test, for the whole window whichever control has the focus; true when
    // the key was taken (frmMainKeys.cpp).
    bool answerKey(QObject *receiver, QKeyEvent *key);
    void restoreGeometry();
    void applyOuterGeometry();
    // Frame and menu bar: what the window has beyond its client area.
    QSize nonClientSize() const;

    void Form_Unload();
    void inti_Click(int index);
    void cm_Click(int index);
    void hidarime_Click(int index);
    void migime_Click(int index);
    void start_GotFocus();
    void tugi_GotFocus();
    void kekka_GotFocus();
    void answer_Click(Control button, int index);
    void kekkakiroku_Click();
    void mnuFileOpen_Click();
    void mnuFileupdate_Click();
    void mnuFileGurafu_Click();
    void mnuFileGamen_Click();
    void mnuFileSeimitu_Click();
    void mnuFileExit_Click();
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();

    QWidget *client_ = nullptr;
    formlayout::Controls controls_;
    QRect restoredOuter_; // the stored outer geometry until the window is first shown
    Settings &settings_;
    FocusStepDispatcher *focusSteps_ = nullptr;
    AcuityTest test_;
};

} // namespace mitoon
