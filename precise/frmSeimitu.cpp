#include "precise/frmSeimitu.h"

#include "acuity/keyanswers.h"
#include "app/settings.h"
#include "platform/fonts.h"
#include "platform/loadedforms.h"
#include "platform/onewindow.h"
#include "platform/pictures.h"
#include "platform/systemcolor.h"
#include "precise/precisetexts.h"
#include "precise/ringcanvas.h"
#include "screencheck/frmGamen.h"
#include "screencheck/gamentexts.h"
#include "screencheck/screenreport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace mitoon {

using precise::PreciseSession;

namespace {

// Readable from 3 m: 30 points are 40 pixels at 96 dots per inch.
constexpr double kBodyPoints = 30;
constexpr double kHeadingPoints = 40;
constexpr double kNotePoints = 20;
constexpr int kShortestCm = 100;
constexpr int kLongestCm = 600;

QLabel *wrappingLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    return label;
}

void warnIn(QLabel *label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kWarningText);
    label->setPalette(palette);
}

// A page that scrolls where the screen is smaller than the large type needs.
QWidget *scrolling(QWidget *content)
{
    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    setBackground(scroll->viewport(), Qt::white);
    return scroll;
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

frmSeimitu *frmSeimitu::showFor(QWidget *owner, const AcuityTest &test, Settings &settings,
                                double distanceCm)
{
    static OneWindow<frmSeimitu> kept;
    frmSeimitu *window =
        kept.getOrMake([&] { return new frmSeimitu(owner, test, settings, distanceCm); });
    window->placeOnScreenOf(owner);
    window->showFullScreen();
    bringToFront(window);
    return window;
}

frmSeimitu::frmSeimitu(QWidget *owner, const AcuityTest &test, Settings &settings,
                       double distanceCm)
    : QWidget(owner, Qt::Window), test_(test), settings_(settings)
{
    setObjectName(QStringLiteral("frmSeimitu"));
    setWindowTitle(QStringLiteral("精密測定"));
    setWindowIcon(pictures::programIcon());
    setFont(fonts::fixedFont(fonts::kPGothic, kBodyPoints));
    setBackground(this, Qt::white);
    placeOnScreenOf(owner);
    const double centimetres = std::clamp(distanceCm, double(kShortestCm), double(kLongestCm));
    // The screen is read once the set-up's controls stand, below.
    session_ = std::make_unique<PreciseSession>(
        PreciseSession::Screen{}, centimetres,
        settings_.loadPreciseTrials().value_or(precise::kDefaultTrialCount));

    pages_ = new QStackedWidget(this);
    setupPage_ = scrolling(createSetup());
    canvas = new precise::RingCanvas;
    resultPage_ = scrolling(createResult());
    pages_->addWidget(setupPage_);
    pages_->addWidget(canvas);
    pages_->addWidget(resultPage_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages_);

    connectHandlers();
    readScreen();
    showStage();
    qApp->installEventFilter(this); // the keys, whichever control has the focus
    LoadedForms::add(this);
}

frmSeimitu::~frmSeimitu() = default;

QWidget *frmSeimitu::createSetup()
{
    auto *page = new QWidget;
    heading = new QLabel(QStringLiteral("精密測定"), page);
    heading->setFont(fonts::fixedFont(fonts::kPGothic, kHeadingPoints, true));

    leftEye = new QPushButton(QStringLiteral("左目"), page);
    rightEye = new QPushButton(QStringLiteral("右目"), page);
    // The chosen eye stands out from 3 m.
    for (QPushButton *button : {leftEye, rightEye}) {
        button->setCheckable(true);
        button->setAutoExclusive(true);
        button->setStyleSheet(
            QStringLiteral("QPushButton:checked { background: black; color: white; }"));
        button->setFont(font());
    }
    distance = new QSpinBox(page);
    distance->setRange(kShortestCm, kLongestCm);
    distance->setSingleStep(10);
    distance->setSuffix(QStringLiteral(" cm"));
    trials = new QComboBox(page);
    for (const int count : precise::kTrialCounts)
        trials->addItem(QString::number(count), count);
    tone = new QCheckBox(QStringLiteral("答えるたびに短い音を鳴らす"), page);
    tone->setChecked(settings_.loadPreciseTone().value_or(true));
    // A tick box as large as its text.
    tone->setStyleSheet(QStringLiteral("QCheckBox::indicator { width: 32px; height: 32px; }"));
    tone->setFont(font());

    pitchLabel = wrappingLabel(page);
    warningLabel = wrappingLabel(page);
    warnIn(warningLabel);
    cardButton = new QPushButton(QStringLiteral("カードで測る（画面の確認）"), page);
    bestLabel = wrappingLabel(page);
    problemLabel = wrappingLabel(page);
    warnIn(problemLabel);
    coverLabel = wrappingLabel(page);
    hintLabel = wrappingLabel(page);
    startButton = new QPushButton(QStringLiteral("開始"), page);
    closeButton = new QPushButton(QStringLiteral("閉じる"), page);

    auto *choices = new QGridLayout;
    choices->addWidget(new QLabel(QStringLiteral("測る目"), page), 0, 0);
    auto *eyes = new QHBoxLayout;
    eyes->addWidget(leftEye);
    eyes->addWidget(rightEye);
    eyes->addStretch(1);
    choices->addLayout(eyes, 0, 1);
    choices->addWidget(new QLabel(QStringLiteral("画面までの距離"), page), 1, 0);
    choices->addWidget(distance, 1, 1, Qt::AlignLeft);
    choices->addWidget(new QLabel(QStringLiteral("輪の数"), page), 2, 0);
    choices->addWidget(trials, 2, 1, Qt::AlignLeft);
    choices->addWidget(tone, 3, 0, 1, 2);
    choices->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(startButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);

    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(48, 32, 48, 32);
    column->addWidget(heading);
    column->addLayout(choices);
    column->addWidget(pitchLabel);
    column->addWidget(warningLabel);
    column->addWidget(cardButton, 0, Qt::AlignLeft);
    column->addWidget(bestLabel);
    column->addWidget(problemLabel);
    column->addWidget(coverLabel);
    column->addWidget(hintLabel);
    column->addStretch(1);
    column->addLayout(buttons);
    return page;
}

QWidget *frmSeimitu::createResult()
{
    auto *page = new QWidget;
    resultLabel = wrappingLabel(page);
    resultLabel->setTextFormat(Qt::RichText);
    storedLabel = wrappingLabel(page);
    storedLabel->setFont(fonts::fixedFont(fonts::kPGothic, kNotePoints));
    otherEyeButton = new QPushButton(page);
    againButton = new QPushButton(QStringLiteral("もう一度"), page);
    storeAgainButton = new QPushButton(QStringLiteral("保存し直す"), page);
    resultCloseButton = new QPushButton(QStringLiteral("閉じる"), page);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(otherEyeButton);
    buttons->addWidget(againButton);
    buttons->addWidget(storeAgainButton);
    buttons->addStretch(1);
    buttons->addWidget(resultCloseButton);

    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(48, 32, 48, 32);
    column->addWidget(resultLabel);
    column->addWidget(storedLabel);
    column->addStretch(1);
    column->addLayout(buttons);
    return page;
}

void frmSeimitu::connectHandlers()
{
    connect(leftEye, &QPushButton::clicked, this, [this] {
        session_->selectEye(precise::Eye::Left);
        showSetup();
    });
    connect(rightEye, &QPushButton::clicked, this, [this] {
        session_->selectEye(precise::Eye::Right);
        showSetup();
    });
    connect(distance, &QSpinBox::valueChanged, this, [this](int centimetres) {
        session_->setDistanceCm(centimetres);
        showSetup();
    });
    connect(trials, &QComboBox::activated, this, [this] {
        const int count = trials->currentData().toInt();
        session_->setTrialCount(count);
        settings_.storePreciseTrials(count);
    });
    connect(tone, &QCheckBox::toggled, this, [this](bool on) { settings_.storePreciseTone(on); });
    connect(cardButton, &QPushButton::clicked, this, &frmSeimitu::cardButton_Click);
    connect(startButton, &QPushButton::clicked, this, &frmSeimitu::startButton_Click);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(canvas, &precise::RingCanvas::clickedSector, this, &frmSeimitu::answer);
    connect(canvas, &precise::RingCanvas::painted, this, [this] {
        // The user looks at the ring from the moment it is painted.
        if (ringPending_) {
            ringPending_ = false;
            shown_.start();
        }
    });
    connect(otherEyeButton, &QPushButton::clicked, this, &frmSeimitu::otherEyeButton_Click);
    connect(againButton, &QPushButton::clicked, this, &frmSeimitu::againButton_Click);
    connect(storeAgainButton, &QPushButton::clicked, this, &frmSeimitu::storeAgainButton_Click);
    connect(resultCloseButton, &QPushButton::clicked, this, &QWidget::close);
}

// Wholly on the screen that holds the main window.
void frmSeimitu::placeOnScreenOf(const QWidget *owner)
{
    QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    setScreen(screen);
    setGeometry(screen->geometry());
}

PreciseSession::Screen frmSeimitu::sessionScreen(const pixelpitch::ScreenReport &report,
                                                 const pixelpitch::InEffect &effect) const
{
    PreciseSession::Screen now;
    now.widthDevicePx = report.widthPx;
    now.heightDevicePx = report.heightPx;
    now.devicePixelRatio = screen() ? screen()->devicePixelRatio() : 1.0;
    now.pitchMm = effect.pitchMm;
    now.pitchSource = effect.source == pixelpitch::Source::Measured ? QStringLiteral("カード")
                                                                    : QStringLiteral("画面の報告");
    now.uncalibrated = effect.pitchMm && !pixelpitch::isTrusted(effect);
    return now;
}

void frmSeimitu::readScreen()
{
    const pixelpitch::ScreenReport report = screencheck::screenReport(screen());
    const pixelpitch::InEffect effect = pixelpitch::inEffect(settings_.loadPixelPitchMm(), report);
    session_->setScreen(sessionScreen(report, effect));
    pitchLabel->setText(
        gamentexts::pitchText(effect.pitchMm) + u'\n' +
        gamentexts::sourceText(effect, report, session_->screen().devicePixelRatio));
    warningLabel->setText(gamentexts::doubtText(effect, report) + u'\n' +
                          precise::texts::uncalibratedText());
    warningLabel->setVisible(session_->screen().uncalibrated);
    cardButton->setVisible(effect.source != pixelpitch::Source::Measured);
}

void frmSeimitu::showStage()
{
    switch (session_->stage()) {
    case PreciseSession::Stage::Setup:
        pages_->setCurrentWidget(setupPage_);
        showSetup();
        startButton->setFocus();
        break;
    case PreciseSession::Stage::Rings:
        pages_->setCurrentWidget(canvas);
        showRing();
        setFocus();
        break;
    case PreciseSession::Stage::Result:
        pages_->setCurrentWidget(resultPage_);
        showResult();
        otherEyeButton->setFocus();
        break;
    }
}

void frmSeimitu::showSetup()
{
    const PreciseSession &session = *session_;
    leftEye->setChecked(session.eye() == precise::Eye::Left);
    rightEye->setChecked(session.eye() == precise::Eye::Right);
    {
        const QSignalBlocker blocker(distance);
        distance->setValue(int(session.distanceCm()));
    }
    trials->setCurrentIndex(trials->findData(session.trialCount()));
    bestLabel->setText(precise::texts::bestAcuityText(session.range(), session.distanceCm()));
    const QString problem = session.problem();
    problemLabel->setText(problem);
    problemLabel->setVisible(!problem.isEmpty());
    startButton->setEnabled(problem.isEmpty());
    coverLabel->setText(precise::texts::coverText(session.eye()));
    hintLabel->setText(precise::texts::answerHint());
}

void frmSeimitu::showRing()
{
    const precise::PreciseRun *run = session_->run();
    const precise::PreciseTrial &trial = run->currentTrial();
    ringPending_ = true;
    canvas->showRing(trial.gapDevicePx, trial.orientation, run->progressText());
}

void frmSeimitu::showResult()
{
    const std::optional<precise::StoredRun> &stored = session_->stored();
    const QStringList lines = precise::texts::resultLines(*stored);
    QString html = QStringLiteral("<p style=\"font-size:%1pt\"><b>%2</b></p>")
                       .arg(kHeadingPoints)
                       .arg(escaped(lines.front()));
    for (qsizetype i = 1; i < lines.size(); ++i)
        html += QStringLiteral("<p>%1</p>").arg(escaped(lines[i]));
    resultLabel->setText(html);
    const fileio::Result &storing = session_->storeResult();
    storedLabel->setText(precise::texts::storedText(storing));
    if (storing.ok())
        storedLabel->setPalette(palette());
    else
        warnIn(storedLabel);
    storeAgainButton->setVisible(!storing.ok());
    otherEyeButton->setText(precise::texts::otherEyeButtonText(stored->result.eye));
}

void frmSeimitu::answer(int orientation)
{
    if (session_->stage() != PreciseSession::Stage::Rings)
        return;
    const double reactionMs = ringPending_ || !shown_.isValid() ? 0.0 : double(shown_.elapsed());
    if (!session_->answer(orientation, reactionMs))
        return;
    if (tone->isChecked())
        QApplication::beep();
    showStage();
}

void frmSeimitu::startButton_Click()
{
    readScreen();
    if (session_->start())
        showStage();
    else
        showSetup();
}

void frmSeimitu::cardButton_Click()
{
    frmGamen::showFor(parentWidget(), test_, settings_);
}

void frmSeimitu::otherEyeButton_Click()
{
    session_->measureOtherEye();
    showStage();
}

void frmSeimitu::againButton_Click()
{
    session_->measureAgain();
    showStage();
}

void frmSeimitu::storeAgainButton_Click()
{
    session_->storeAgain();
    showResult();
}

bool frmSeimitu::handleKey(QKeyEvent *key)
{
    const bool plain = key->modifiers() == Qt::NoModifier;
    const bool keypad = key->modifiers() == Qt::KeypadModifier;
    if (key->key() == Qt::Key_Escape && plain) {
        close();
        return true;
    }
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    switch (session_->stage()) {
    case PreciseSession::Stage::Rings:
        // A key held down answers once; every other key does nothing while a ring is on view.
        if (!key->isAutoRepeat()) {
            if (key->key() == Qt::Key_Space && plain)
                answer(precise::kCannotSee);
            else if (const std::optional<int> orientation =
                         answerOrientation(key->key(), key->modifiers()))
                answer(*orientation);
        }
        return true;
    case PreciseSession::Stage::Setup:
        if ((key->key() == Qt::Key_Slash && keypad) || (key->key() == Qt::Key_Left && plain)) {
            leftEye->click();
            return true;
        }
        if ((key->key() == Qt::Key_Asterisk && keypad) || (key->key() == Qt::Key_Right && plain)) {
            rightEye->click();
            return true;
        }
        if (enter) {
            auto *focused = qobject_cast<QPushButton *>(QApplication::focusWidget());
            if (focused == cardButton || focused == closeButton)
                focused->click();
            else if (startButton->isEnabled())
                startButton->click();
            return true;
        }
        return false;
    case PreciseSession::Stage::Result:
        if (enter) {
            auto *focused = qobject_cast<QPushButton *>(QApplication::focusWidget());
            (focused && focused->window() == this ? focused : otherEyeButton)->click();
            return true;
        }
        return false;
    }
    return false;
}

bool frmSeimitu::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this && isActiveWindow() &&
            !QApplication::activePopupWidget() && handleKey(static_cast<QKeyEvent *>(event)))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmSeimitu::changeEvent(QEvent *event)
{
    // A card measured meanwhile in the screen check counts from now on.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
        session_->stage() == PreciseSession::Stage::Setup) {
        readScreen();
        showSetup();
    }
    QWidget::changeEvent(event);
}

} // namespace mitoon
