#include "acuity/acuitytest.h"
#include "acuity/calibration.h"
#include "app/frmMain.h"
#include "app/ringimage.h"
#include "platform/fonts.h"
#include "platform/formlayout.h"
#include "platform/optionbutton.h"
#include "platform/pictures.h"
#include "platform/systemcolor.h"
#include "platform/twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace mitoon {

namespace {

// The acuity box `siryokuhyouji`, 615 twips wide, in the Gothic at 20.25 points, bold. That
// Gothic draws digits wider than the font the box was made for: it is condensed just enough
// that every acuity value shows whole inside the box's frame, its ink and the cursor after it.
constexpr int kAcuityBoxWidth = 615;

QFont acuityFont()
{
    return fonts::fixedFont(fonts::kPGothic, 20.25, true);
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

QPixmap ringPicture(int orientation)
{
    return pictures::pixmap(ringPicturePath(orientation));
}

// The ring shows the closed ring at its layout size until the test first sizes it.
QWidget *makeRing(const formlayout::Row &row, QWidget *container)
{
    auto *ring = new RingImage(container);
    ring->setPicture(ringPicture(0));
    ring->setWidthUnits(float(row.place.width() / double(kTwipsPerHorizontalUnit)));
    ring->setHeightUnits(float(row.place.height() / double(kTwipsPerVerticalUnit)));
    return ring;
}

} // namespace

void frmMain::preparePictures()
{
    pictures::prepare(kLogoPicture);
    for (int orientation = 0; orientation <= 8; ++orientation)
        pictures::prepare(ringPicturePath(orientation));
}

void frmMain::prepareFonts()
{
    fonts::prepareCondensed(acuityFont(), acuityTextWidth(), acuityTexts());
}

// The controls from top to bottom. The client area is white throughout: the unit captions and
// the eye buttons have the highlighted-text colour, the rest white boxes of their own. The
// answer buttons form a compass around the mistakes counter and wait, disabled, for a test;
// their control-array indexes are those of their click handler. The ring is sized in ring
// units and lies under everything else.
void frmMain::createControls()
{
    client_ = new QWidget(this);
    setBackground(client_, systemColor(SystemColor::CaptionText));
    setCentralWidget(client_);
    client_->installEventFilter(this);

    using namespace Qt::StringLiterals;
    using enum formlayout::Kind;
    using fonts::kPGothic;
    using formlayout::to;
    const formlayout::Font answer{kPGothic, 18};
    const formlayout::Look white{.background = systemColor(SystemColor::HighlightText)};
    const formlayout::Look disabled{.disabled = true};
    // clang-format off
    const formlayout::Row rows[] = {
        // name             kind          text                        left, top, width, height  font                     tab look               member
        {"Picture1",        picture,      kLogoPicture,              { 960,  120, 1935,  375}, {},                      34, {.tabStop = true}, to(Picture1)},
        {"size",            textBox,      u"ディスプレイサイズ"_s,   {1080,  600, 1695,  270}, {},                      14, {},                to(size)},
        {{"inti", 0},       comboBox,     u"14"_s,                   {1080,  960,  615,  300}, {},                      1,  {},                to(inti, Control::inti)},
        {{"Label1", 0},     label,        u"インチ"_s,               {1800,  960,  615,  255}, {},                      25, white,             to(Label1[0])},
        {"kyoritext",       textBox,      u"ディスプレイとの距離"_s, {1080, 1320, 1695,  270}, {},                      15, {},                to(kyoritext)},
        {"tugi",            flatTextBox,  {},                        {2400, 1320,  195,  165}, {kPGothic, 8.25},        27, {},                to(tugi, Control::tugi)},
        {{"cm", 1},         comboBox,     u"100"_s,                  {1080, 1680,  735,  300}, {},                      2,  {},                to(cm, Control::cm)},
        {{"Label1", 1},     label,        u"cm"_s,                   {1920, 1800,  615,  255}, {},                      26, white,             to(Label1[1])},
        {{"hidarime", 0},   optionButton, u"左目"_s,                 {1200, 2040,  735,  495}, {},                      4,  white,             to(hidarime, Control::hidarime)},
        {{"migime", 1},     optionButton, u"右目"_s,                 {1920, 2040,  735,  495}, {},                      5,  white,             to(migime, Control::migime)},
        {"start",           button,       u"スタート"_s,             {1200, 2640, 1215,  495}, {kPGothic, 15.75, true}, 3,  {},                to(start, Control::start)},
        {{"ue", 0},         button,       u"上"_s,                   {1320, 3240,  975,  735}, answer,                  6,  disabled,          to(ue, Control::ue)},
        {{"migiue", 1},     button,       u"右上"_s,                 {2280, 3480,  975,  735}, answer,                  7,  disabled,          to(migiue, Control::migiue)},
        {{"hidariue", 6},   button,       u"左上"_s,                 { 360, 3480,  975,  735}, answer,                  12, disabled,          to(hidariue, Control::hidariue)},
        {{"hidari", 5},     button,       u"左"_s,                   { 240, 4200,  975,  735}, answer,                  11, disabled,          to(hidari, Control::hidari)},
        {"matigaihyouji",   flatTextBox,  {},                        {1920, 4200,  495,  615}, {kPGothic, 26.25, true}, 32, {},                to(matigaihyouji, Control::matigaihyouji)},
        {{"migi", 2},       button,       u"右"_s,                   {2400, 4200,  975,  735}, answer,                  8,  disabled,          to(migi, Control::migi)},
        {"matigaikoumoku",  flatTextArea, {},                        {1320, 4440,  615,  255}, {},                      31, {},                to(matigaikoumoku, Control::matigaikoumoku)},
        {{"hidarisita", 7}, button,       u"左下"_s,                 { 360, 4920,  975,  735}, answer,                  13, disabled,          to(hidarisita, Control::hidarisita)},
        {{"migisita", 3},   button,       u"右下"_s,                 {2280, 4920,  975,  735}, answer,                  9,  disabled,          to(migisita, Control::migisita)},
        {{"sita", 4},       button,       u"下"_s,                   {1320, 5160,  975,  735}, answer,                  10, disabled,          to(sita, Control::sita)},
        {"siryokuhyouji",   flatTextBox,  {},                        {2040, 5880,  615,  615}, {kPGothic, 20.25, true}, 28, {},                to(siryokuhyouji, Control::siryokuhyouji)},
        {"kekka",           flatTextBox,  {},                        { 240, 6000, 1815,  495}, {},                      30, {},                to(kekka, Control::kekka)},
        {"kekkadesu",       flatTextBox,  {},                        {2760, 6000,  975,  375}, {kPGothic, 9.75},        29, {},                to(kekkadesu, Control::kekkadesu)},
        {"kekkakiroku",     button,       u"今回の結果を保存"_s,     { 720, 6600, 2175,  495}, {kPGothic, 12, true},    33, {.hidden = true},  to(kekkakiroku, Control::kekkakiroku)},
        {"randort",         custom,       {},                        {4440,  840,  465,  405}, {},                      -1, {},                to(randort, Control::randort)},

    };
    // clang-format on
    controls_ = formlayout::create(rows, client_, formlayout::Fonts::fixed, makeRing);

    // The caption reads whole over the tiny box; a click there still gives the box the focus.
    tugi->stackUnder(kyoritext);
    kyoritext->installEventFilter(this);
    siryokuhyouji->setFont(fonts::condensedToFit(acuityFont(), acuityTextWidth(), acuityTexts()));
    randort->lower();

    const char *holderNames[] = {"Picue",   "Picmigiue",     "Picmigi",   "Picmigisita",
                                 "Picsita", "Pichidarisita", "Pichidari", "Pichidariue"};
    for (int orientation = 1; orientation <= 8; ++orientation) {
        QLabel *holder = new QLabel(client_);
        holder->setPixmap(ringPicture(orientation));
        holder->hide();
        holder->setObjectName(QLatin1String(holderNames[orientation - 1]));
        holders[orientation - 1] = holder;
    }
}

} // namespace mitoon
