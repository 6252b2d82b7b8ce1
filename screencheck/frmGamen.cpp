#include "screencheck/frmGamen.h"

#include "acuity/acuitytest.h"
#include "acuity/calibration.h"
#include "acuity/variant.h"
#include "app/settings.h"
#include "platform/loadedforms.h"
#include "platform/onewindow.h"
#include "platform/pictures.h"
#include "platform/screenplacement.h"
#include "platform/systemcolor.h"
#include "screencheck/cardoutline.h"
#include "screencheck/gamentexts.h"
#include "screencheck/ringrows.h"
#include "screencheck/screenreport.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSlider>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace mitoon {

namespace {

// Without a pitch, the card outline starts from the 96 pixels per inch most systems assume.
constexpr double kAssumedPitchMm = 25.4 / 96.0;
constexpr int kRowsAtLeastVisible = 6;

const QColor kBelowPixelBackground(238, 238, 238);

} // namespace

frmGamen *frmGamen::showFor(QWidget *owner, const AcuityTest &test, Settings &settings)
{
    static OneWindow<frmGamen> kept;
    // A window that is closing is on its way out; the menu then opens a new one.
    if (frmGamen *open = kept.get())
        open->refresh();
    frmGamen *window = kept.getOrMake([&] { return new frmGamen(owner, test, settings); });
    bringToFront(window);
    return window;
}

frmGamen::frmGamen(QWidget *owner, const AcuityTest &test, Settings &settings)
    : QWidget(owner, Qt::Window), test_(test), settings_(settings)
{
    setObjectName(QStringLiteral("frmGamen"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("画面の確認"));
    setWindowIcon(pictures::programIcon());
    createControls();
    layOut();
    connectHandlers();
    refresh();
    placeOnOwnersScreen();
    LoadedForms::add(this);
}

void frmGamen::createControls()
{
    pitchLabel = new QLabel(this);
    QFont bold = pitchLabel->font();
    bold.setBold(true);
    pitchLabel->setFont(bold);
    sourceLabel = new QLabel(this);
    doubtLabel = new QLabel(this);
    QPalette warning = doubtLabel->palette();
    warning.setColor(QPalette::WindowText, kWarningText);
    doubtLabel->setPalette(warning);
    cardHelp = new QLabel(
        QStringLiteral("キャッシュカードなど 85.60 × 53.98 mm のカードを画面に当てて、青い枠が"
                       "カードとぴったり重なるまで枠の大きさを変えてください（スライダー、"
                       "「−」「＋」のボタン、または − キーと + キー）。合ったら「この大きさを"
                       "保存」を押します。"),
        this);
    card = new CardOutline(this);

    smaller = new QToolButton(this);
    smaller->setText(QStringLiteral("−"));
    smaller->setToolTip(QStringLiteral("枠を 1 画素小さくします（− キー）"));
    smaller->setAutoRepeat(true);
    larger = new QToolButton(this);
    larger->setText(QStringLiteral("＋"));
    larger->setToolTip(QStringLiteral("枠を 1 画素大きくします（+ キー）"));
    larger->setAutoRepeat(true);
    cardSlider = new QSlider(Qt::Horizontal, this);
    cardSlider->setSingleStep(1);
    cardSlider->setPageStep(10);
    cardWidthLabel = new QLabel(this);
    // Wide enough for the widest text it can get, so that the slider does not jump.
    cardWidthLabel->setMinimumWidth(
        cardWidthLabel->fontMetrics().horizontalAdvance(gamentexts::cardWidthText(8888)) + 4);
    storeButton = new QPushButton(QStringLiteral("この大きさを保存"), this);
    forgetButton = new QPushButton(QStringLiteral("画面の報告に戻す"), this);

    ringHeading = new QLabel(this);
    ringHeading->setFont(bold);
    ringTable = new QTableWidget(0, int(gamentexts::columnHeaders().size()), this);
    ringTable->setHorizontalHeaderLabels(gamentexts::columnHeaders());
    ringTable->verticalHeader()->hide();
    ringTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ringTable->setSelectionMode(QAbstractItemView::NoSelection);
    ringTable->setFocusPolicy(Qt::NoFocus);
    ringTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ringTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    gapNote = new QLabel(
        QStringLiteral(
            "すき間の幅は、上向きの輪の絵（幅 93 画素）のすき間 14 画素を、輪の"
            "幅に合わせて伸ばしたものです。ほかの向きのすき間はもっと細く（7～13 画素）、"
            "右下のボタンで答えると輪は 0.85 倍にしか縮みません。"),
        this);
    limitLabel = new QLabel(this);
    sizeAdvice = new QLabel(this);
    closeButton = new QPushButton(QStringLiteral("閉じる"), this);

    for (QLabel *label :
         {sourceLabel, doubtLabel, cardHelp, ringHeading, gapNote, limitLabel, sizeAdvice})
        label->setWordWrap(true);
}

void frmGamen::layOut()
{
    auto *content = new QWidget;
    auto *pitchBox = new QGroupBox(QStringLiteral("画面の画素の大きさ"), content);
    auto *pitchLayout = new QVBoxLayout(pitchBox);
    pitchLayout->addWidget(pitchLabel);
    pitchLayout->addWidget(sourceLabel);
    pitchLayout->addWidget(doubtLabel);
    pitchLayout->addWidget(cardHelp);
    auto *sliderRow = new QHBoxLayout;
    sliderRow->addWidget(smaller);
    sliderRow->addWidget(cardSlider, 1);
    sliderRow->addWidget(larger);
    sliderRow->addWidget(cardWidthLabel);
    pitchLayout->addLayout(sliderRow);
    auto *storeRow = new QHBoxLayout;
    storeRow->addStretch(1);
    storeRow->addWidget(storeButton);
    storeRow->addWidget(forgetButton);
    pitchLayout->addLayout(storeRow);
    // Below its controls, so that they stay where they are as the card grows and shrinks.
    pitchLayout->addWidget(card);

    auto *ringBox = new QGroupBox(QStringLiteral("輪が測るもの"), content);
    auto *ringLayout = new QVBoxLayout(ringBox);
    ringLayout->addWidget(ringHeading);
    ringLayout->addWidget(ringTable, 1);
    ringLayout->addWidget(gapNote);
    ringLayout->addWidget(limitLabel);
    ringLayout->addWidget(sizeAdvice);

    auto *contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(pitchBox);
    contentLayout->addWidget(ringBox, 1);

    // The table gives way first; on a screen too small even then, the whole scrolls rather than
    // squeeze the card or a text.
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setWidget(content);

    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    closeRow->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scroll_, 1);
    layout->addLayout(closeRow);
}

void frmGamen::connectHandlers()
{
    connect(cardSlider, &QSlider::valueChanged, this, &frmGamen::cardSlider_valueChanged);
    connect(smaller, &QToolButton::clicked, cardSlider,
            [this] { cardSlider->triggerAction(QSlider::SliderSingleStepSub); });
    connect(larger, &QToolButton::clicked, cardSlider,
            [this] { cardSlider->triggerAction(QSlider::SliderSingleStepAdd); });
    for (const Qt::Key key : {Qt::Key_Minus, Qt::Key_Plus}) {
        auto *shortcut = new QShortcut(QKeySequence(key), this);
        QToolButton *button = key == Qt::Key_Minus ? smaller : larger;
        connect(shortcut, &QShortcut::activated, button, &QToolButton::click);
    }
    connect(storeButton, &QPushButton::clicked, this, &frmGamen::storeButton_Click);
    connect(forgetButton, &QPushButton::clicked, this, &frmGamen::forgetButton_Click);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

// Where the window opens: on the main window's screen, to the right of the main window when
// there is room, and wholly on that screen. This is the one place that decides it.
void frmGamen::placeOnOwnersScreen()
{
    QWidget *owner = parentWidget();
    const QRect available = screenplacement::availableArea(owner ? owner : this);
    // Room for a window frame, which is not known before the window is shown.
    const QSize frame(16, 48);
    // As narrow as the table and the card allow, and as high as the content then is, if the
    // screen has room; a scroll bar's width to spare.
    // Sizes that changed while the window was hidden have not reached the outer layout yet.
    QWidget *content = scroll_->widget();
    for (QGroupBox *box : content->findChildren<QGroupBox *>())
        box->updateGeometry();
    content->layout()->invalidate();
    const int width =
        content->minimumSizeHint().width() + scroll_->verticalScrollBar()->sizeHint().width();
    // The table's own hint is a few rows; the window opens with room for all of them.
    const int wholeTable = ringTable->horizontalHeader()->sizeHint().height() +
                           ringTable->verticalHeader()->length() + 2 * ringTable->frameWidth();
    const int height = (content->hasHeightForWidth() ? content->heightForWidth(width)
                                                     : content->sizeHint().height()) +
                       std::max(0, wholeTable - ringTable->sizeHint().height());
    const QSize whole = sizeHint() - scroll_->sizeHint() + QSize(width, height);
    const QSize size = whole.boundedTo(available.size() - frame);
    resize(size);
    move(owner ? owner->frameGeometry().topRight() + QPoint(1, 0) : available.topLeft());
    // Wholly on that screen, frame included once it is known.
    screenplacement::keepOnMainScreen(this);
}

double frmGamen::inches() const
{
    // What the sizing formula took, else the reference setting the test start takes.
    return usableMeasure(test_.gamensize()).value_or(kReferenceInches);
}

double frmGamen::centimetres() const
{
    return usableMeasure(test_.kyori()).value_or(kReferenceCentimetres);
}

std::optional<double> frmGamen::pitchMm() const
{
    return unsavedPitchMm_ ? unsavedPitchMm_ : effect_.pitchMm;
}

QScreen *frmGamen::shownScreen() const
{
    // Until it is shown the window has no screen of its own; it opens on its owner's.
    if (const QWindow *window = windowHandle())
        return window->screen();
    return parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
}

double frmGamen::devicePixelRatio() const
{
    const QScreen *screen = shownScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

pixelpitch::ScreenReport frmGamen::screenReport() const
{
    return screencheck::screenReport(shownScreen());
}

void frmGamen::refresh()
{
    effect_ = pixelpitch::inEffect(settings_.loadPixelPitchMm(), screenReport());
    showPitch();
    showCard();
    showRings();
}

void frmGamen::showPitch()
{
    // The pitch in effect; a card being matched shows beside the slider, so that nothing above
    // the slider moves while the user matches it.
    const pixelpitch::ScreenReport report = screenReport();
    pitchLabel->setText(gamentexts::pitchText(effect_.pitchMm));
    sourceLabel->setText(gamentexts::sourceText(effect_, report, devicePixelRatio()));
    const QString doubt = gamentexts::doubtText(effect_, report);
    doubtLabel->setText(doubt);
    doubtLabel->setVisible(!doubt.isEmpty());
}

void frmGamen::showCard()
{
    const double pitch = pitchMm().value_or(kAssumedPitchMm);
    card->setPitchMm(pitch);
    card->updateGeometry();

    // From a pitch of 1 mm to the finest screens, and no wider than most of this screen.
    const QScreen *screen = shownScreen();
    const QSizeF available =
        screen ? QSizeF(screen->availableSize()) * screen->devicePixelRatio() : QSizeF(800, 600);
    const int widest = int(std::min(
        {pixelpitch::cardWidthPx(pixelpitch::kSmallestMm), available.width() * 0.6,
         available.height() * 0.5 * pixelpitch::kCardWidthMm / pixelpitch::kCardHeightMm}));
    const int cardWidthPx = int(std::lround(pixelpitch::cardWidthPx(pitch)));
    {
        const QSignalBlocker blocker(cardSlider);
        cardSlider->setRange(int(std::ceil(pixelpitch::cardWidthPx(pixelpitch::kLargestMm))),
                             std::max(widest, cardWidthPx));
        cardSlider->setValue(cardWidthPx);
    }
    cardWidthLabel->setText(gamentexts::cardWidthText(cardWidthPx));
    // Storing is for a card matched by hand, or an outline that matches as it stands.
    storeButton->setEnabled(unsavedPitchMm_ || effect_.source != pixelpitch::Source::Measured);
    forgetButton->setEnabled(unsavedPitchMm_ || settings_.loadPixelPitchMm());
}

void frmGamen::showRings()
{
    const double inches = this->inches();
    const double centimetres = this->centimetres();
    const std::optional<double> pitch = pitchMm();
    ringHeading->setText(gamentexts::headingText(inches, centimetres, unsavedPitchMm_));

    const screencheck::Setting setting{inches, centimetres, pitch.value_or(0), devicePixelRatio()};
    const std::vector<screencheck::RingRow> rows = screencheck::ringRows(setting);
    ringTable->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const QStringList texts = gamentexts::cellTexts(rows[r]);
        for (int c = 0; c < texts.size(); ++c) {
            auto *item = new QTableWidgetItem(texts[c]);
            item->setFlags(Qt::ItemIsEnabled);
            item->setTextAlignment(c + 1 < texts.size() ? Qt::AlignRight | Qt::AlignVCenter
                                                        : Qt::AlignLeft | Qt::AlignVCenter);
            if (rows[r].belowPixel) {
                item->setBackground(kBelowPixelBackground);
                item->setForeground(kWarningText);
            }
            ringTable->setItem(r, c, item);
        }
    }
    ringTable->resizeColumnsToContents();
    ringTable->resizeRowsToContents();
    // Every column shows in full; rows that do not fit scroll.
    ringTable->setMinimumWidth(ringTable->horizontalHeader()->length() +
                               ringTable->verticalScrollBar()->sizeHint().width() +
                               2 * ringTable->frameWidth());
    ringTable->setMinimumHeight(ringTable->horizontalHeader()->height() +
                                kRowsAtLeastVisible *
                                    ringTable->verticalHeader()->defaultSectionSize() +
                                2 * ringTable->frameWidth());

    limitLabel->setText(gamentexts::limitText(rows, setting.pitchMm, centimetres));
    sizeAdvice->setText(gamentexts::adviceText(
        screencheck::inchesForFirstGap(screencheck::kWantedFirstGapArcMin, setting)));
}

void frmGamen::cardSlider_valueChanged(int cardWidthPx)
{
    unsavedPitchMm_ = pixelpitch::fromCardWidthPx(cardWidthPx);
    showCard();
    showRings();
}

void frmGamen::storeButton_Click()
{
    // What is stored is the outline as drawn: a whole number of pixels across.
    settings_.storePixelPitchMm(pixelpitch::fromCardWidthPx(cardSlider->value()));
    unsavedPitchMm_.reset();
    refresh();
}

void frmGamen::forgetButton_Click()
{
    settings_.storePixelPitchMm(std::nullopt);
    unsavedPitchMm_.reset();
    refresh();
}

void frmGamen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window moved to another screen measures that screen.
    connect(windowHandle(), &QWindow::screenChanged, this, &frmGamen::refresh,
            Qt::UniqueConnection);
}

void frmGamen::changeEvent(QEvent *event)
{
    // The display size or distance may have changed in the main window meanwhile.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refresh();
    QWidget::changeEvent(event);
}

} // namespace mitoon
