#include "app/frmSplash.h"

#include "app/appinfo.h"
#include "platform/changereportinglabel.h"
#include "platform/fonts.h"
#include "platform/formlayout.h"
#include "platform/pictures.h"
#include "platform/screenplacement.h"
#include "platform/twips.h"

#include <QFrame>
#include <QLabel>

namespace mitoon {

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setWindowIcon(pictures::programIcon());
    setFont(fonts::fixedFont(fonts::kPGothic, 9));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // A fixed dialog frame around a client area of 7455 × 4605 twips.
    setFixedSize(twips::rect(0, 0, 7455, 4605).size() + QSize(4, 4));
    setContentsMargins(2, 2, 2, 2);
    auto *outline = new QFrame(this);
    outline->setFrameStyle(QFrame::Panel | QFrame::Raised);
    outline->setLineWidth(2);
    outline->setGeometry(rect());

    QWidget *client = new QWidget(this);
    client->setGeometry(2, 2, width() - 4, height() - 4);

    createControls(client);
    Form_Load();
    screenplacement::centreOnScreenOf(this, nullptr);
}

void frmSplash::createControls(QWidget *client)
{
    using namespace Qt::StringLiterals;
    using enum formlayout::Kind;
    using fonts::kPGothic;
    using formlayout::Border;
    using formlayout::to;
    // The frame that holds every control; the rows below are placed within it.
    const formlayout::Row container[] = {
        {"fraMainFrame",
         frame,
         {},
         {45, -15, 7380, 4590},
         {},
         -1,
         {.border = Border::etched},
         to(fraMainFrame)},
    };
    formlayout::create(container, client, formlayout::Fonts::fixed);
    // clang-format off
    const formlayout::Row rows[] = {
        // name            kind                  text                       left, top, width, height  font                     tab look                                              member
        {"picLogo",        picture,              u":/assets/ring1.png"_s,  { 600,  360, 1395, 1185}, {},                      -1, {.border = Border::line},                         to(picLogo)},
        {"lblProductName", changeReportingLabel, {},                       {2520,  840, 3840,  645}, {kPGothic, 32.25, true}, -1, {},                                               to(lblProductName)},
        {"lblVersion",     label,                {},                       {6540, 1920,   90,  240}, {kPGothic, 12, true},    -1, {.alignment = Qt::AlignRight | Qt::AlignVCenter}, to(lblVersion)},
        {"lblCopyright",   label,                copyrightNotice(),        {2640, 2160, 2415,  255}, {kPGothic, 8.25},        -1, {},                                               to(lblCopyright)},
        {"lblCompany",     label,                u"URL "_s + webAddress(), {2640, 2520, 2415,  255}, {kPGothic, 8.25},        -1, {},                                               to(lblCompany)},
        {"lblDescription", label,                u"-警告-"_s,              {1680, 2880,  615,  210}, {},                      -1, {.textColor = Qt::black},                         to(lblDescription)},
        {"Label1",         wrappingLabel,        warningNotice(),          {1680, 3120, 4095, 1095}, {},                      -1, {},                                               to(Label1)},
    };
    // clang-format on
    formlayout::create(rows, fraMainFrame, formlayout::Fonts::fixed);
    connect(lblProductName, &ChangeReportingLabel::changed, this,
            &frmSplash::lblProductName_Change);
}

void frmSplash::Form_Load()
{
    // Both labels are sized to their texts; the right-aligned version grows to the left.
    lblVersion->setText(versionCaption(QStringLiteral("Version")));
    formlayout::fitToText(lblVersion);
    lblProductName->setText(appTitle());
    formlayout::fitToText(lblProductName);
}

void frmSplash::lblProductName_Change()
{
    lblProductName->setText(productName());
}

} // namespace mitoon
