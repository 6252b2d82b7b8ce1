#include "app/frmMain.h"

#include "acuity/calibration.h"
#include "acuity/keyanswers.h"
#include "app/frmGamen.h"
#include "app/menucommands.h"
#include "app/ringimage.h"
#include "app/windowsettings.h"
#include "info/frmAbout.h"
#include "platform/focusstepdispatcher.h"
#include "platform/formkit.h"
#include "platform/loadedforms.h"
#include "platform/optionbutton.h"
#include "platform/screenplacement.h"
#include "platform/statusbar.h"
#include "platform/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>
#include <cmath>

namespace mitoon {

namespace {

// The layout is made for a client area of 6645 × 7830 twips; the status bar is docked to the
// bottom edge at the full width, 270 twips high. The first row of the layout is the logo, whose
// lower right corner is at 2895, 495.
constexpr int kLayoutWidth = 6645;
constexpr int kLayoutHeight = 7830;
constexpr int kStatusBarHeight = 270;
constexpr int kFirstRowRight = 960 + 1935;
constexpr int kFirstRowBottom = 120 + 375;

// A line edit keeps this many pixels between its frame and its text on either side, on top of
// its text margins.
constexpr int kLineEditInnerMargin = 2;

// Flat text boxes: a thin single-line frame, no three-dimensional edge and no margins inside it,
// so the values the layout was made for show whole.
void makeFlat(QWidget *box)
{
    box->setStyleSheet(QStringLiteral("border: 1px solid black; background: white; padding: 0;"));
}

QLineEdit *flatBox(QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    makeFlat(box);
    box->setTextMargins(-kLineEditInnerMargin, 0, -kLineEditInnerMargin, 0);
    box->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    return box;
}

QPushButton *answerButton(QWidget *parent, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setFont(formkit::fixedFont(formkit::kPGothic, 18));
    button->setEnabled(false);
    return button;
}

// The acuity box `siryokuhyouji`, 615 twips wide, in the Gothic at 20.25 points, bold. That
// Gothic draws digits wider than the font the box was made for: it is condensed just enough
// that every acuity value shows whole inside the box's frame, its ink and the cursor after it.
constexpr int kAcuityBoxWidth = 615;

QFont acuityFont()
{
    return formkit::fixedFont(formkit::kPGothic, 20.25, true);
}

int acuityTextWidth()
{
    return twips::toPixelsRounded(kAcuityBoxWidth) - 2;
}

QStringList acuityTexts()
{
    QStringList values;
    for (int score = 0; score <= 190; score += 10)
        values << AcuityTest::acuityText(std::int16_t(score));
    return values;
}

const QString kLogoPicture = QStringLiteral(":/assets/logo.png");

QString ringPicturePath(int orientation)
{
    return QStringLiteral(":/assets/ring%1.png").arg(orientation);
}

QRectF inTwips(const QRect &pixels)
{
    return QRectF(twips::fromPixels(pixels.x()), twips::fromPixels(pixels.y()),
                  twips::fromPixels(pixels.width()), twips::fromPixels(pixels.height()));
}

QPixmap ringPicture(int orientation)
{
    return formkit::picture(ringPicturePath(orientation));
}

} // namespace

void frmMain::preparePictures()
{
    formkit::preparePicture(kLogoPicture);
    for (int orientation = 0; orientation <= 8; ++orientation)
        formkit::preparePicture(ringPicturePath(orientation));
}

void frmMain::prepareFonts()
{
    formkit::prepareCondensed(acuityFont(), acuityTextWidth(), acuityTexts());
}

frmMain::frmMain(WindowSettings &settings, TrialRandom random, QWidget *parent)
    : QMainWindow(parent), settings_(settings), test_(*this, std::move(random))
{
    setWindowTitle(QStringLiteral("ミトーン(p_-)"));
    setWindowIcon(formkit::programIcon());
    setFont(formkit::fixedFont(formkit::kPGothic, 9));
    createControls();
    createMenus();
    setTabOrder();
    connectHandlers();
    createFocusSteps();
    qApp->installEventFilter(this); // the keys of the test
    LoadedForms::add(this);
}

frmMain::~frmMain() = default;

void frmMain::createControls()
{
    client_ = new QWidget(this);
    formkit::setBackground(client_, formkit::systemColor(formkit::SystemColor::CaptionText));
    setCentralWidget(client_);
    client_->installEventFilter(this);

    Picture1 = new QLabel(client_);
    Picture1->setPixmap(formkit::picture(kLogoPicture));
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setFocusPolicy(Qt::TabFocus);
    formkit::place(Picture1, 960, 120, 1935, 375);

    size = new QLineEdit(QStringLiteral("ディスプレイサイズ"), client_);
    formkit::place(size, 1080, 600, 1695, 270);

    inti = new QComboBox(client_);
    inti->setEditable(true);
    inti->setInsertPolicy(QComboBox::NoInsert);
    inti->setEditText(QStringLiteral("14"));
    formkit::place(inti, 1080, 960, 615, 300);

    Label1[0] = new QLabel(QStringLiteral("インチ"), client_);
    formkit::place(Label1[0], 1800, 960, 615, 255);

    kyoritext = new QLineEdit(QStringLiteral("ディスプレイとの距離"), client_);
    formkit::place(kyoritext, 1080, 1320, 1695, 270);

    tugi = flatBox(client_);
    tugi->setFont(formkit::fixedFont(formkit::kPGothic, 8.25));
    formkit::place(tugi, 2400, 1320, 195, 165);
    // The caption reads whole over the tiny box; a click there still gives the box the focus.
    tugi->stackUnder(kyoritext);
    kyoritext->installEventFilter(this);

    cm = new QComboBox(client_);
    cm->setEditable(true);
    cm->setInsertPolicy(QComboBox::NoInsert);
    cm->setEditText(QStringLiteral("100"));
    formkit::place(cm, 1080, 1680, 735, 300);

    Label1[1] = new QLabel(QStringLiteral("cm"), client_);
    formkit::place(Label1[1], 1920, 1800, 615, 255);

    hidarime = new OptionButton(QStringLiteral("左目"), client_);
    formkit::place(hidarime, 1200, 2040, 735, 495);
    migime = new OptionButton(QStringLiteral("右目"), client_);
    formkit::place(migime, 1920, 2040, 735, 495);
    for (QWidget *white : {static_cast<QWidget *>(Label1[0]), static_cast<QWidget *>(Label1[1]),
                           static_cast<QWidget *>(hidarime), static_cast<QWidget *>(migime)})
        formkit::setBackground(white, formkit::systemColor(formkit::SystemColor::HighlightText));

    start = new QPushButton(QStringLiteral("スタート"), client_);
    start->setFont(formkit::fixedFont(formkit::kPGothic, 15.75, true));
    formkit::place(start, 1200, 2640, 1215, 495);

    ue = answerButton(client_, QStringLiteral("上"));
    formkit::place(ue, 1320, 3240, 975, 735);
    migiue = answerButton(client_, QStringLiteral("右上"));
    formkit::place(migiue, 2280, 3480, 975, 735);
    hidariue = answerButton(client_, QStringLiteral("左上"));
    formkit::place(hidariue, 360, 3480, 975, 735);
    hidari = answerButton(client_, QStringLiteral("左"));
    formkit::place(hidari, 240, 4200, 975, 735);

    matigaihyouji = flatBox(client_);
    matigaihyouji->setFont(formkit::fixedFont(formkit::kPGothic, 26.25, true));
    formkit::place(matigaihyouji, 1920, 4200, 495, 615);

    migi = answerButton(client_, QStringLiteral("右"));
    formkit::place(migi, 2400, 4200, 975, 735);

    matigaikoumoku = new QPlainTextEdit(client_);
    makeFlat(matigaikoumoku);
    matigaikoumoku->setFocusPolicy(Qt::ClickFocus);
    matigaikoumoku->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    matigaikoumoku->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    matigaikoumoku->document()->setDocumentMargin(0);
    formkit::place(matigaikoumoku, 1320, 4440, 615, 255);

    hidarisita = answerButton(client_, QStringLiteral("左下"));
    formkit::place(hidarisita, 360, 4920, 975, 735);
    migisita = answerButton(client_, QStringLiteral("右下"));
    formkit::place(migisita, 2280, 4920, 975, 735);
    sita = answerButton(client_, QStringLiteral("下"));
    formkit::place(sita, 1320, 5160, 975, 735);

    siryokuhyouji = flatBox(client_);
    formkit::place(siryokuhyouji, 2040, 5880, kAcuityBoxWidth, 615);
    siryokuhyouji->setFont(formkit::condensedToFit(acuityFont(), acuityTextWidth(), acuityTexts()));

    kekka = flatBox(client_);
    formkit::place(kekka, 240, 6000, 1815, 495);
    kekkadesu = flatBox(client_);
    kekkadesu->setFont(formkit::fixedFont(formkit::kPGothic, 9.75));
    formkit::place(kekkadesu, 2760, 6000, 975, 375);

    kekkakiroku = new QPushButton(QStringLiteral("今回の結果を保存"), client_);
    kekkakiroku->setFont(formkit::fixedFont(formkit::kPGothic, 12, true));
    formkit::place(kekkakiroku, 720, 6600, 2175, 495);
    kekkakiroku->hide();

    randort = new RingImage(client_);
    randort->move(twips::rect(4440, 840, 0, 0).topLeft());
    randort->setPicture(ringPicture(0));
    randort->setWidthUnits(float(465 / double(kTwipsPerHorizontalUnit)));
    randort->setHeightUnits(float(405 / double(kTwipsPerVerticalUnit)));
    randort->lower();

    for (int orientation = 1; orientation <= 8; ++orientation) {
        QLabel *holder = new QLabel(client_);
        holder->setPixmap(ringPicture(orientation));
        holder->hide();
        holders[orientation - 1] = holder;
    }
    const char *holderNames[] = {"Picue",   "Picmigiue",     "Picmigi",   "Picmigisita",
                                 "Picsita", "Pichidarisita", "Pichidari", "Pichidariue"};
    for (int i = 0; i < 8; ++i)
        holders[i]->setObjectName(QLatin1String(holderNames[i]));

    Bar = new StatusBar(client_);
    Bar->setPanelText(QStringLiteral("ｽﾃｰﾀｽ"));

    // Enter on a focused button presses it.
    for (QPushButton *button : client_->findChildren<QPushButton *>())
        button->setAutoDefault(true);
}

void frmMain::createMenus()
{
    QMenu *mnuFile = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ"));
    mnuFile->addAction(QStringLiteral("記録を見る"), this, &frmMain::mnuFileOpen_Click);
    mnuFile->addSeparator();
    mnuFile->addAction(QStringLiteral("結果を保存"), this, &frmMain::mnuFileupdate_Click);
    mnuFile->addSeparator();
    mnuFile->addAction(QStringLiteral("記録のグラフ"), this, &frmMain::mnuFileGurafu_Click);
    mnuFile->addAction(QStringLiteral("画面の確認"), this, &frmMain::mnuFileGamen_Click);
    mnuFile->addSeparator();
    mnuFile->addAction(QStringLiteral("終了"), this, &frmMain::mnuFileExit_Click);

    QMenu *mnuHelp = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ"));
    QAction *contents =
        mnuHelp->addAction(QStringLiteral("ﾍﾙﾌﾟ"), this, &frmMain::mnuHelpContents_Click);
    // The help item's help-context number; no item carries a shortcut key.
    contents->setProperty("helpContextId", 1);
    mnuHelp->addSeparator();
    mnuHelp->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::setTabOrder()
{
    const QList<QWidget *> order = {inti,       cm,   start,     hidarime,    migime,  ue,
                                    migiue,     migi, migisita,  sita,        hidari,  hidariue,
                                    hidarisita, size, kyoritext, kekkakiroku, Picture1};
    for (int i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void frmMain::connectHandlers()
{
    // Only a pick from the list (mouse, arrow keys, wheel) is a click. An editable combo box
    // would also report typed text that matches an item, when the box loses the focus or its
    // completer accepts: typing alone must change nothing.
    for (QComboBox *box : {inti, cm}) {
        box->lineEdit()->setCompleter(nullptr);
        disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
        // Beside the arrow every number of the list shows whole, as in the flat boxes.
        box->lineEdit()->setTextMargins(-kLineEditInnerMargin, 0, -kLineEditInnerMargin, 0);
    }
    connect(inti, &QComboBox::activated, this, [this] { inti_Click(0); });
    connect(cm, &QComboBox::activated, this, [this] { cm_Click(1); });
    connect(hidarime, &QRadioButton::clicked, this, [this] { hidarime_Click(0); });
    connect(migime, &QRadioButton::clicked, this, [this] { migime_Click(1); });
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
    const QRectF outer = WindowSettings::placement(settings_.load(), sizes, screens);
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
    settings_.store({float(twips::fromPixels(outer.x())), float(twips::fromPixels(outer.y())),
                     float(twips::fromPixels(outer.width())),
                     float(twips::fromPixels(outer.height()))});
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

bool frmMain::answerKey(QObject *receiver, QKeyEvent *key)
{
    // Keys that go to another window of the program, a popup list or a menu are theirs alone.
    auto *widget = qobject_cast<QWidget *>(receiver);
    if (!widget || widget->window() != this || !isActiveWindow() ||
        QApplication::activePopupWidget())
        return false;
    QWidget *focused = QApplication::focusWidget();
    const auto within = [focused](QWidget *box) {
        return focused && (focused == box || box->isAncestorOf(focused));
    };
    const KeyFocus focus = within(inti) || within(cm)             ? KeyFocus::numberBox
                           : qobject_cast<QPushButton *>(focused) ? KeyFocus::pushButton
                                                                  : KeyFocus::other;
    const KeyAction action = keyAction(key->key(), key->modifiers(), test_.running(), focus);
    if (action.kind == KeyAction::passOn)
        return false;
    // A key held down answers once.
    if (key->isAutoRepeat())
        return true;
    switch (action.kind) {
    case KeyAction::answer:
        // As a press with the mouse, the answer first takes the focus from `tugi`.
        control(action.control)->setFocus(Qt::OtherFocusReason);
        answer_Click(action.control, answerButton(action.control).index);
        break;
    case KeyAction::click:
        static_cast<QAbstractButton *>(control(action.control))->click();
        break;
    case KeyAction::focus:
        control(action.control)->setFocus(Qt::OtherFocusReason);
        break;
    case KeyAction::passOn:
    case KeyAction::ignore:
        break;
    }
    return true;
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

void frmMain::mnuFileOpen_Click()
{
    menucommands::mnuFileOpen();
}

void frmMain::mnuFileupdate_Click()
{
    menucommands::saveResults(this, test_.hidarikekka().toText(), test_.migikekka().toText());
}

void frmMain::mnuFileGurafu_Click()
{
    menucommands::mnuFileGurafu(this);
}

void frmMain::mnuFileGamen_Click()
{
    frmGamen::showFor(this, test_, settings_);
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::mnuHelpContents_Click()
{
    menucommands::openHelpContents(this);
}

void frmMain::mnuHelpAbout_Click()
{
    frmAbout::showModal(this);
}

// --- what the test sees of the window ---------------------------------------------------------

QWidget *frmMain::control(Control control) const
{
    switch (control) {
    case Control::inti:
        return inti;
    case Control::cm:
        return cm;
    case Control::start:
        return start;
    case Control::tugi:
        return tugi;
    case Control::kekka:
        return kekka;
    case Control::kekkadesu:
        return kekkadesu;
    case Control::siryokuhyouji:
        return siryokuhyouji;
    case Control::matigaihyouji:
        return matigaihyouji;
    case Control::matigaikoumoku:
        return matigaikoumoku;
    case Control::kekkakiroku:
        return kekkakiroku;
    case Control::ue:
        return ue;
    case Control::migiue:
        return migiue;
    case Control::migi:
        return migi;
    case Control::migisita:
        return migisita;
    case Control::sita:
        return sita;
    case Control::hidari:
        return hidari;
    case Control::hidariue:
        return hidariue;
    case Control::hidarisita:
        return hidarisita;
    case Control::hidarime:
        return hidarime;
    case Control::migime:
        return migime;
    case Control::randort:
        return randort;
    }
    return nullptr;
}

QString frmMain::text(Control which) const
{
    QWidget *widget = control(which);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->currentText();
    if (auto *line = qobject_cast<QLineEdit *>(widget))
        return line->text();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        return plain->toPlainText();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    return {};
}

void frmMain::setText(Control which, const QString &text)
{
    QWidget *widget = control(which);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        combo->setEditText(text);
    else if (auto *line = qobject_cast<QLineEdit *>(widget)) {
        line->setText(text);
        // A text set by the program shows from its start, as the caret goes to its start.
        line->setCursorPosition(0);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        plain->setPlainText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(text);
}

void frmMain::setEnabled(Control which, bool enabled)
{
    control(which)->setEnabled(enabled);
}

void frmMain::setVisible(Control which, bool visible)
{
    control(which)->setVisible(visible);
}

void frmMain::setChecked(Control which, bool checked)
{
    if (auto *option = qobject_cast<QRadioButton *>(control(which)))
        option->setChecked(checked);
}

void frmMain::setFocus(Control which)
{
    control(which)->setFocus(Qt::OtherFocusReason);
}

float frmMain::ringWidth() const
{
    return randort->widthUnits();
}

float frmMain::ringHeight() const
{
    return randort->heightUnits();
}

void frmMain::setRingWidth(float units)
{
    randort->setWidthUnits(units);
}

void frmMain::setRingHeight(float units)
{
    randort->setHeightUnits(units);
}

void frmMain::setRingPicture(int orientation)
{
    if (orientation >= 1 && orientation <= 8)
        randort->setPicture(holders[orientation - 1]->pixmap());
}

QSize frmMain::nonClientSize() const
{
    return frameGeometry().size() - client_->size();
}

RingRoom frmMain::ringRoom() const
{
    // From the ring's fixed corner to the right edge and down to the status bar.
    const QPoint corner = randort->pos();
    const int barHeight = twips::toPixelsRounded(kStatusBarHeight);
    const QSize most = screenplacement::availableArea(this).size() - nonClientSize();
    return {twips::fromPixels(client_->width() - corner.x()),
            twips::fromPixels(client_->height() - barHeight - corner.y()),
            twips::fromPixels(most.width() - corner.x()),
            twips::fromPixels(most.height() - barHeight - corner.y())};
}

void frmMain::growRingRoom(double widthTwips, double heightTwips)
{
    const QPoint corner = randort->pos();
    const int barHeight = twips::toPixelsRounded(kStatusBarHeight);
    const QSize needed(corner.x() + int(std::ceil(twips::toPixels(widthTwips))),
                       corner.y() + int(std::ceil(twips::toPixels(heightTwips))) + barHeight);
    const QSize client = client_->size().expandedTo(needed);
    if (client == client_->size())
        return;
    const QRect outer(frameGeometry().topLeft(), client + nonClientSize());
    const QRect placed =
        screenplacement::keepInside(outer, screenplacement::availableArea(this), true);
    resize(QMainWindow::size() + (placed.size() - frameGeometry().size()));
    move(placed.topLeft());
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
