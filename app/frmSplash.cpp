#include "app/frmSplash.h"

#include "platform/appinfo.h"
#include "platform/formkit.h"
#include "platform/noticelabel.h"
#include "platform/notifyinglabel.h"
#include "platform/twips.h"
#include "platform/version.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace mitoon {

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setWindowIcon(formkit::programIcon());
    setFont(formkit::fixedFont(formkit::kPGothic, 9));
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

    fraMainFrame = new QFrame(client);
    fraMainFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    formkit::place(fraMainFrame, 45, -15, 7380, 4590);

    picLogo = new QLabel(fraMainFrame);
    picLogo->setFrameStyle(QFrame::Box | QFrame::Plain);
    picLogo->setPixmap(formkit::picture(QStringLiteral(":/assets/ring1.png")));
    picLogo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    formkit::place(picLogo, 600, 360, 1395, 1185);

    lblProductName = new NotifyingLabel(fraMainFrame);
    lblProductName->setFont(formkit::fixedFont(formkit::kPGothic, 32.25, true));
    formkit::place(lblProductName, 2520, 840, 3840, 645);
    connect(lblProductName, &NotifyingLabel::changed, this, &frmSplash::lblProductName_Change);

    lblVersion = new QLabel(fraMainFrame);
    lblVersion->setFont(formkit::fixedFont(formkit::kPGothic, 12, true));
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    formkit::place(lblVersion, 6540, 1920, 90, 240);

    lblCopyright = new QLabel(copyrightNotice(), fraMainFrame);
    lblCopyright->setFont(formkit::fixedFont(formkit::kPGothic, 8.25));
    formkit::place(lblCopyright, 2640, 2160, 2415, 255);

    lblCompany = new QLabel(QStringLiteral("URL ") + webAddress(), fraMainFrame);
    lblCompany->setFont(formkit::fixedFont(formkit::kPGothic, 8.25));
    formkit::place(lblCompany, 2640, 2520, 2415, 255);

    lblDescription = new QLabel(QStringLiteral("-警告-"), fraMainFrame);
    lblDescription->setStyleSheet(QStringLiteral("color: black;"));
    formkit::place(lblDescription, 1680, 2880, 615, 210);

    Label1 = new NoticeLabel(warningNotice(), fraMainFrame);
    formkit::place(Label1, 1680, 3120, 4095, 1095);

    Form_Load();
    centreOnScreen();
}

QString frmSplash::versionCaption(int major, int minor, int revision)
{
    return QStringLiteral("Version ") + versionText(major, minor, revision);
}

void frmSplash::Form_Load()
{
    lblVersion->setText(versionCaption(kVersionMajor, kVersionMinor, kVersionRevision));
    // Sized to its text, growing to the left from its right edge.
    const QRect placed = lblVersion->geometry();
    const QSize fitted = lblVersion->sizeHint();
    lblVersion->setGeometry(placed.right() + 1 - fitted.width(), placed.y(), fitted.width(),
                            fitted.height());
    lblProductName->setText(appTitle());
    lblProductName->adjustSize();
}

void frmSplash::lblProductName_Change()
{
    lblProductName->setText(productName());
}

void frmSplash::centreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = geometry();
    frame.moveCenter(screen->geometry().center());
    move(frame.topLeft());
}

} // namespace mitoon
