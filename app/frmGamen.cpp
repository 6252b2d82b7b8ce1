#include "app/frmGamen.h"

#include "acuity/acuitytest.h"
#include "acuity/screencheck.h"
#include "acuity/variant.h"
#include "app/cardoutline.h"
#include "app/windowsettings.h"
#include "platform/formkit.h"
#include "platform/loadedforms.h"

#include <QCloseEvent>
#include <QGridLayout>
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

const QColor kWarning(176, 0, 0);
const QColor kBelowPixelBackground(238, 238, 238);

QString number(double value, int decimals)
{
    return QLocale().toString(value, 'f', decimals);
}

// A positive number the sizing formula took, else the reference value.
double usedOr(const Variant &value, double reference)
{
    const std::optional<double> number = value.toNumber();
    return number && std::isfinite(*number) && *number > 0 ? *number : reference;
}

const QStringList &columnHeaders()
{
    static const QStringList headers = {
        QStringLiteral("正解の数"),       QStringLiteral("外径 (画素)"),
        QStringLiteral("外径 (mm)"),      QStringLiteral("すき間 (画素)"),
        QStringLiteral("すき間 (mm)"),    QStringLiteral("視角 (分)"),
        QStringLiteral("小数視力"),       QStringLiteral("logMAR"),
        QStringLiteral("表示される視力"), QStringLiteral("備考")};
    return headers;
}

QStringList cellTexts(const screencheck::RingRow &row)
{
    return {QString::number(row.rightAnswers),
            number(row.outerWidthPx, 1) + QStringLiteral(" × ") + number(row.outerHeightPx, 1),
            number(row.outerWidthMm, 1) + QStringLiteral(" × ") + number(row.outerHeightMm, 1),
            number(row.gapPx, 2),
            number(row.gapMm, 2),
            number(row.gapArcMin, 2),
            number(row.decimalAcuity, 2),
            number(row.logMar, 2),
            row.shownAcuity,
            row.belowPixel ? QStringLiteral("画素の限界") : QString()};
}

QString doubtText(pixelpitch::Doubt doubt, const pixelpitch::ScreenReport &report)
{
    switch (doubt) {
    case pixelpitch::Doubt::None:
        return {};
    case pixelpitch::Doubt::NoSize:
        return QStringLiteral("画面は自分の大きさを報告していません（0 mm）。");
    case pixelpitch::Doubt::OutOfRange:
        return QStringLiteral("画面が報告する大きさ（%1 × %2 mm）は、画面としてありえない値です。")
            .arg(number(report.widthMm, 0), number(report.heightMm, 0));
    case pixelpitch::Doubt::Looks96Dpi:
        return QStringLiteral("この大きさは作り物のようです。画面の本当の大きさではなく、"
                              "1 インチに 96 画素として計算した大きさです。");
    case pixelpitch::Doubt::NotSquare:
        return QStringLiteral(
            "この大きさは疑わしい値です。縦と横で画素の大きさが 1 割以上違います。");
    }
    return {};
}

} // namespace

frmGamen *frmGamen::showFor(QWidget *owner, const AcuityTest &test, WindowSettings &settings)
{
    // A window that is closing is on its way out; the menu then opens a new one.
    auto *window =
        owner->findChild<frmGamen *>(QStringLiteral("frmGamen"), Qt::FindDirectChildrenOnly);
    if (!window)
        window = new frmGamen(owner, test, settings);
    else
        window->refresh();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

frmGamen::frmGamen(QWidget *owner, const AcuityTest &test, WindowSettings &settings)
    : QWidget(owner, Qt::Window), test_(test), settings_(settings)
{
    setObjectName(QStringLiteral("frmGamen"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("画面の確認"));
    setWindowIcon(formkit::programIcon());
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
    warning.setColor(QPalette::WindowText, kWarning);
    doubtLabel->setPalette(warning);
    cardHelp = new QLabel(
        QStringLiteral("キャッシュカードなど 85.60 × 53.98 mm のカードを画面に当てて、青い枠が"
                       "カードとぴったり重なるまで枠の大きさを変えてください（スライダー、"
                       "−・＋ ボタン、または − キーと + キー）。合ったら「この大きさを保存」を"
                       "押します。"),
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
    cardWidthLabel->setMinimumWidth(cardWidthLabel->fontMetrics().horizontalAdvance(
                                        QStringLiteral("枠の幅 8888 画素（1 画素 0.8888 mm）")) +
                                    4);
    storeButton = new QPushButton(QStringLiteral("この大きさを保存"), this);
    forgetButton = new QPushButton(QStringLiteral("画面の報告に戻す"), this);

    ringHeading = new QLabel(this);
    ringHeading->setFont(bold);
    ringTable = new QTableWidget(0, int(columnHeaders().size()), this);
    ringTable->setHorizontalHeaderLabels(columnHeaders());
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
    QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
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
    QPoint at = owner ? owner->frameGeometry().topRight() + QPoint(1, 0) : available.topLeft();
    at.setX(std::clamp(
        at.x(), available.left(),
        std::max(available.left(), available.right() + 1 - size.width() - frame.width())));
    at.setY(std::clamp(
        at.y(), available.top(),
        std::max(available.top(), available.bottom() + 1 - size.height() - frame.height())));
    move(at);
}

double frmGamen::inches() const
{
    return usedOr(test_.gamensize(), 14);
}

double frmGamen::centimetres() const
{
    return usedOr(test_.kyori(), 100);
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
    const QScreen *screen = shownScreen();
    if (!screen)
        return {};
    const QSizeF size = screen->physicalSize();
    const QSize pixels = screen->size() * screen->devicePixelRatio();
    return {size.width(), size.height(), double(pixels.width()), double(pixels.height())};
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
    const std::optional<double> pitch = effect_.pitchMm;
    pitchLabel->setText(pitch ? QStringLiteral("画素の大きさ: %1 mm（1 インチに %2 画素）")
                                    .arg(number(*pitch, 4), number(25.4 / *pitch, 1))
                              : QStringLiteral("画素の大きさ: 分かりません"));

    QString source;
    QString doubt;
    const pixelpitch::ScreenReport report = screenReport();
    if (effect_.source == pixelpitch::Source::Measured) {
        source = QStringLiteral("カードで測って保存した値です。");
    } else {
        if (effect_.source == pixelpitch::Source::Screen)
            source = QStringLiteral("画面が報告する大きさ %1 × %2 mm（%3 × %4 画素）から計算した"
                                    "値です。")
                         .arg(number(report.widthMm, 0), number(report.heightMm, 0))
                         .arg(std::lround(report.widthPx))
                         .arg(std::lround(report.heightPx));
        else
            source = QStringLiteral("画面の報告からは分かりません。");
        if (effect_.storedIgnored)
            doubt = QStringLiteral("保存されていた値は画素の大きさとして使えない値でした。");
        doubt += doubtText(effect_.screenDoubt, report);
        if (!doubt.isEmpty())
            doubt += QStringLiteral("カードで測ってください。");
    }
    if (devicePixelRatio() != 1.0)
        source += QStringLiteral("画面の拡大率 %1 倍を計算に入れています。")
                      .arg(formatGeneral(devicePixelRatio(), 4));
    sourceLabel->setText(source);
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
    cardWidthLabel->setText(QStringLiteral("枠の幅 %1 画素（1 画素 %2 mm）")
                                .arg(cardWidthPx)
                                .arg(number(pixelpitch::fromCardWidthPx(cardWidthPx), 4)));
    // Storing is for a card matched by hand, or an outline that matches as it stands.
    storeButton->setEnabled(unsavedPitchMm_ || effect_.source != pixelpitch::Source::Measured);
    forgetButton->setEnabled(unsavedPitchMm_ || settings_.loadPixelPitchMm());
}

void frmGamen::showRings()
{
    const double inches = this->inches();
    const double centimetres = this->centimetres();
    const std::optional<double> pitch = pitchMm();
    QString heading =
        QStringLiteral("ディスプレイサイズ %1 インチ、距離 %2 cm で、最初の輪と、正解するごとに "
                       "0.8 倍に縮む輪")
            .arg(formatGeneral(inches), formatGeneral(centimetres));
    if (unsavedPitchMm_)
        heading += QStringLiteral("（合わせている枠の画素 %1 mm で計算。まだ保存していません）")
                       .arg(number(*unsavedPitchMm_, 4));
    ringHeading->setText(heading);

    const screencheck::Setting setting{inches, centimetres, pitch.value_or(0), devicePixelRatio()};
    const std::vector<screencheck::RingRow> rows = screencheck::ringRows(setting);
    ringTable->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const QStringList texts = cellTexts(rows[r]);
        for (int c = 0; c < texts.size(); ++c) {
            auto *item = new QTableWidgetItem(texts[c]);
            item->setFlags(Qt::ItemIsEnabled);
            item->setTextAlignment(c + 1 < texts.size() ? Qt::AlignRight | Qt::AlignVCenter
                                                        : Qt::AlignLeft | Qt::AlignVCenter);
            if (rows[r].belowPixel) {
                item->setBackground(kBelowPixelBackground);
                item->setForeground(kWarning);
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

    if (rows.empty()) {
        limitLabel->setText(QStringLiteral("画素の大きさが分からないため、輪の本当の大きさは"
                                           "計算できません。"));
        sizeAdvice->clear();
        return;
    }
    const auto limit = screencheck::pixelLimit(*pitch, centimetres);
    QString limitText =
        QStringLiteral("この画面で %1 cm 離れて示せる最も良い視力は、すき間が 1 画素"
                       "のときの小数視力 %2（logMAR %3）です。")
            .arg(formatGeneral(centimetres), number(limit->decimalAcuity, 2),
                 number(limit->logMar, 2));
    const auto firstBelow =
        std::find_if(rows.begin(), rows.end(), [](const auto &row) { return row.belowPixel; });
    if (firstBelow == rows.end())
        limitText += QStringLiteral("%1 回正解するまで、すき間は 1 画素より太いままです。")
                         .arg(rows.back().rightAnswers);
    else if (firstBelow->rightAnswers == 0)
        limitText += QStringLiteral("最初の輪からすき間が 1 画素より細く、目ではなく画面の"
                                    "細かさを測ることになります（画素の限界）。");
    else
        limitText += QStringLiteral("%1 回正解した後の輪からすき間が 1 画素より細くなり、目では"
                                    "なく画面の細かさを測ることになります（画素の限界）。")
                         .arg(firstBelow->rightAnswers);
    limitLabel->setText(limitText);

    const auto wanted = screencheck::inchesForFirstGap(screencheck::kWantedFirstGapArcMin, setting);
    if (!wanted) {
        sizeAdvice->clear();
        return;
    }
    QString advice = QStringLiteral("最初の輪のすき間を 10 分（小数視力 0.1）にするには、"
                                    "ディスプレイサイズを %1 インチにします。一覧で最も近いのは "
                                    "%2 インチです。")
                         .arg(number(*wanted, 1))
                         .arg(screencheck::nearestListedInches(*wanted));
    if (*wanted < screencheck::kListedInches.front() || *wanted > screencheck::kListedInches.back())
        advice +=
            QStringLiteral("%1 インチは一覧（12～32 インチ）の外です。").arg(number(*wanted, 1));
    sizeAdvice->setText(advice);
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

void frmGamen::closeEvent(QCloseEvent *event)
{
    // Closing destroys the window; the menu opens a new one from now on.
    setObjectName(QString());
    QWidget::closeEvent(event);
}

void frmGamen::changeEvent(QEvent *event)
{
    // The display size or distance may have changed in the main window meanwhile.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refresh();
    QWidget::changeEvent(event);
}

} // namespace mitoon
