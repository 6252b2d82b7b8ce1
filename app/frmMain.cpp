#include "app/frmMain.h"

#include "acuity/calibration.h"
#include "app/menucommands.h"
#include "app/settings.h"
#include "platform/focusstepdispatcher.h"
#include "platform/fonts.h"
#include "platform/formlayout.h"
#include "platform/loadedforms.h"
#include "platform/pictures.h"
#include "platform/statusbar.h"
#include "platform/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>
#include <cmath>

namespace mitoon {

namespace {

// The layout is made for a client area of 6645 × 7830 twips. The first row of the layout is
// the logo, whose lower right corner is at 2895, 495.
constexpr int kLayoutWidth = 6645;
constexpr int kLayoutHeight = 7830;
constexpr int kFirstRowRight = 960 + 1935;
constexpr int kFirstRowBottom = 120 + 375;

QRectF inTwips(const QRect &pixels)
{
    return QRectF(twips::fromPixels(pixels.x()), twips::fromPixels(pixels.y()),
                  twips::fromPixels(pixels.width()), twips::fromPixels(pixels.height()));
}

} // namespace

frmMain::frmMain(Settings &settings, TrialRandom random, QWidget *parent)
    : QMainWindow(parent), settings_(settings), test_(*this, std::move(random))
{
    setWindowTitle(QStringLiteral("ミトーン(p_-)"));
    setWindowIcon(pictures::programIcon());
    setFont(fonts::fixedFont(fonts::kPGothic, 9));
    createControls();
    createStatusBar();
    createMenus();
    connectHandlers();
    createFocusSteps();
    qApp->installEventFilter(this); // the keys of the test
    LoadedForms::add(this);
}

frmMain::~frmMain() = default;

void frmMain::createStatusBar()
{
    Bar = new StatusBar(client_);
    Bar->setPanelText(QStringLiteral("ｽﾃｰﾀｽ"));
}

void frmMain::connectHandlers()
{
    // Only a pick from the list (mouse, arrow keys, wheel) is a click. An editable combo box
    // would also report typed text that matches an item, when the box loses the focus or its
    // completer accepts: typing alone must change nothing.
    for (QComboBox *box : {inti, cm}) {
        box->lineEdit()->setCompleter(nullptr);
        disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
    }
    // The control-array handlers get the indexes the layout gave the controls.
    connect(inti, &QComboBox::activated, this, [this] { inti_Click(formlayout::index(inti)); });
    connect(cm, &QComboBox::activated, this, [this] { cm_Click(formlayout::index(cm)); });
    connect(hidarime, &QRadioButton::clicked, this,
            [this] { hidarime_Click(formlayout::index(hidarime)); });
    connect(migime, &QRadioButton::clicked, this,
            [this] { migime_Click(formlayout::index(migime)); });
    for (const AnswerButton &button : kAnswerButtons) {
        auto *widget = static_cast<QPushButton *>(control(button.control));
        connect(widget, &QPushButton::clicked, this,
                [this, button] { answer_Click(button.control, button.index); });
    }
    connect(kekkakiroku, &QPushButton::clicked, this, &frmMain::kekkakiroku_Click);
}

void frmMain::createFocusSteps()
{
    focusSteps_ = new FocusStepDispatcher(this);
    focusSteps_->setStep(start, [this] { start_GotFocus(); });
    focusSteps_->setStep(tugi, [this] { tugi_GotFocus(); });
    focusSteps_->setStep(kekka, [this] { kekka_GotFocus(); });
}

void frmMain::Form_Load()
{
    restoreGeometry();
    test_.formLoad();
    for (const int inches : kDisplaySizes)
        inti->addItem(QString::number(inches));
    for (const int centimetres : kDistances)
        cm->addItem(QString::number(centimetres));
    // Filling the lists selects no item: the boxes keep the texts of the layout.
    inti->setCurrentIndex(-1);
    inti->setEditText(QStringLiteral("14"));
    cm->setCurrentIndex(-1);
    cm->setEditText(QStringLiteral("100"));
}

void frmMain::restoreGeometry()
{
    // The native window knows its frame once it exists; a window manager may still change it
    // when the window is first shown, so the outer size is applied again then.
    create();
    QList<ScreenArea> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append({inTwips(screen->geometry()), inTwips(screen->availableGeometry())});
    const QSize nonClient =
        QSize(0, menuBar()->sizeHint().height())
            .grownBy(windowHandle() ? windowHandle()->frameMargins() : QMargins());
    const QSizeF nonClientTwips(twips::fromPixels(nonClient.width()),
                                twips::fromPixels(nonClient.height()));
    const OuterSizes sizes{QSizeF(kLayoutWidth, kLayoutHeight) + nonClientTwips,
                           QSizeF(kFirstRowRight, kFirstRowBottom + kStatusBarHeight) +
                               nonClientTwips};
    const QRectF outer = Settings::placement(settings_.loadGeometry(), sizes, screens);
    restoredOuter_ = QRect(int(std::lround(twips::toPixels(outer.left()))),
                           int(std::lround(twips::toPixels(outer.top()))),
                           int(std::lround(twips::toPixels(outer.width()))),
                           int(std::lround(twips::toPixels(outer.height()))));
    applyOuterGeometry();
}

void frmMain::applyOuterGeometry()
{
    // Position and size are of the whole window, frame included.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    move(restoredOuter_.topLeft());
    resize(restoredOuter_.size().shrunkBy(frame));
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!restoredOuter_.isNull() && frameGeometry().size() != restoredOuter_.size())
        applyOuterGeometry();
    restoredOuter_ = QRect();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    QMainWindow::closeEvent(event);
}

void frmMain::Form_Unload()
{
    // Every other loaded window goes first, newest first; position 0 is this window.
    const int loaded = LoadedForms::count();
    for (int i = loaded - 1; i >= 1; --i)
        if (LoadedForms::at(i) != this)
            LoadedForms::unload(i);
    if (isMinimized())
        return;
    const QRect outer = frameGeometry();
    settings_.storeGeometry(
        {float(twips::fromPixels(outer.x())), float(twips::fromPixels(outer.y())),
         float(twips::fromPixels(outer.width())), float(twips::fromPixels(outer.height()))});
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && answerKey(watched, static_cast<QKeyEvent *>(event)))
        return true;
    // Nothing moves when the window is resized but the status bar, docked to the bottom.
    if (watched == client_ && event->type() == QEvent::Resize) {
        const int barHeight = twips::toPixelsRounded(kStatusBarHeight);
        Bar->setGeometry(0, client_->height() - barHeight, client_->width(), barHeight);
    }
    // `tugi` lies under the caption `kyoritext`; a press on its place still reaches it.
    if (watched == kyoritext && (event->type() == QEvent::MouseButtonPress ||
                                 event->type() == QEvent::MouseButtonDblClick)) {
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (tugi->geometry().contains(kyoritext->mapToParent(at))) {
            tugi->setFocus(Qt::MouseFocusReason);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- handlers ---------------------------------------------------------------------------------

void frmMain::inti_Click(int)
{
    test_.calibrate(Control::inti);
}

void frmMain::cm_Click(int)
{
    test_.calibrate(Control::cm);
}

void frmMain::hidarime_Click(int)
{
    test_.selectEye(1);
}

void frmMain::migime_Click(int)
{
    test_.selectEye(2);
}

void frmMain::start_GotFocus()
{
    test_.startGotFocus();
}

void frmMain::tugi_GotFocus()
{
    test_.tugiGotFocus();
}

void frmMain::kekka_GotFocus()
{
    test_.kekkaGotFocus();
}

void frmMain::answer_Click(Control button, int)
{
    test_.answer(button);
}

void frmMain::kekkakiroku_Click()
{
    // A failed save keeps the button, so the user can try again.
    if (menucommands::saveResults(this, test_.hidarikekka().toText(), test_.migikekka().toText()))
        kekkakiroku->hide();
}

void frmMain::beep()
{
    QApplication::beep();
    emit beeped();
}

void frmMain::setStatusText(const QString &text)
{
    Bar->setSimpleText(text);
}

} // namespace mitoon
