#include "info/frmAbout.h"

#include "info/browserprocess.h"
#include "info/sysinfolauncher.h"
#include "platform/appinfo.h"
#include "platform/formkit.h"
#include "platform/loadedforms.h"
#include "platform/noticelabel.h"
#include "platform/notifyinglabel.h"
#include "platform/screenplacement.h"
#include "platform/version.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

namespace mitoon {

namespace {

const QColor kTitleGreen(0, 192, 0);
const QColor kPictureGrey(192, 192, 192);

QLabel *label(const QString &text, QWidget *parent, int left, int top, int width, int height)
{
    auto *control = new QLabel(text, parent);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    formkit::place(control, left, top, width, height);
    return control;
}

QPushButton *button(const QString &text, QWidget *parent, int left, int top, int width, int height)
{
    auto *control = new QPushButton(text, parent);
    formkit::place(control, left, top, width, height);
    return control;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

// What a window that is waiting for a modal window of its own must not receive.
bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

} // namespace

frmAbout::frmAbout(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint)
{
    LoadedForms::add(this);
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowIcon(formkit::programIcon());
    setFont(formkit::font(formkit::kPGothic, 9));
    formkit::setClientSize(this, 5865, 3525);
    createControls();
    Form_Load();
}

void frmAbout::showModal(QWidget *owner)
{
    auto *box = new frmAbout(owner);
    box->centreOnScreen();
    // A closed box deletes itself once exec() has returned.
    box->exec();
}

QString frmAbout::versionCaption(int major, int minor, int revision)
{
    return QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + versionText(major, minor, revision);
}

void frmAbout::createControls()
{
    cmdOK = button(QStringLiteral("OK"), this, 4245, 2625, 1467, 345);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    cmdSysInfo = button(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this, 4260, 3075, 1452, 345);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    // A sunken single border around the 93 × 75 picture: the box is sized to its picture.
    picIcon = label(QString(), this, 120, 120, 1455, 1185);
    picIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon->setLineWidth(2);
    picIcon->setPixmap(QPixmap(QStringLiteral(":/assets/ring1.png")));
    formkit::setBackground(picIcon, kPictureGrey);

    lblDisclaimer = label(author(), this, 1200, 2520, 1455, 225);
    setTextColor(lblDisclaimer, Qt::black);

    lblVersion = label(QString(), this, 4320, 360, 1335, 225);

    lblTitle = new NotifyingLabel(this);
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTitle->setFont(formkit::font(formkit::kGothic, 18, true));
    setTextColor(lblTitle, kTitleGreen);
    formkit::place(lblTitle, 1920, 240, 2295, 480);
    connect(lblTitle, &NotifyingLabel::changed, this, &frmAbout::lblTitle_Change);

    lblDescription = label(QStringLiteral("-警告-"), this, 1680, 960, 615, 210);
    setTextColor(lblDescription, Qt::black);

    Label1 = new NoticeLabel(warningNotice(), this);
    formkit::place(Label1, 1680, 1200, 4095, 1095);

    createContactRow();
    createSeparator();

    setTabOrder(cmdOK, cmdSysInfo);
    setTabOrder(cmdSysInfo, Command1);
    cmdOK->setFocus();
}

// "Mail = ..." and "URL =" followed by the button that carries the web address.
void frmAbout::createContactRow()
{
    Label2 = label(QStringLiteral("Mail = ") + mailAddress(), this, 1200, 3000, 1815, 255);
    Label3 = label(QStringLiteral("URL ="), this, 1200, 2760, 2775, 255);
    Command1 = button(webAddress(), this, 1680, 2760, 2295, 255);
    Command1->raise();
    connect(Command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);
}

// A grey line over a white one below it: an etched separator.
void frmAbout::createSeparator()
{
    Line1[1] = new QFrame(this);
    formkit::setBackground(Line1[1], QColor(128, 128, 128));
    formkit::place(Line1[1], 225, 2430, 5657 - 225, 15);

    Line1[0] = new QFrame(this);
    formkit::setBackground(Line1[0], Qt::white);
    formkit::place(Line1[0], 240, 2445, 5657 - 240, 30);
}

void frmAbout::Form_Load()
{
    lblVersion->setText(versionCaption(kVersionMajor, kVersionMinor, kVersionRevision));
    lblTitle->setText(appTitle());
}

void frmAbout::lblTitle_Change()
{
    lblTitle->setText(productName());
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

// The browser window is modal over the box: the box stays painted but takes no input until the
// browser's process has ended, however it ends. A browser that cannot be started is reported.
void frmAbout::Command1_Click()
{
    waitingForBrowser_ = true;
    qApp->installEventFilter(this);
    const QPointer<frmAbout> self(this);
    // On X11 the browser window stays above the box as a window it owns would.
    const unsigned long long transientFor =
        QGuiApplication::platformName() == QLatin1String("xcb") ? winId() : 0;
    const BrowserProcess::Outcome outcome =
        BrowserProcess::run(BrowserProcess::startAddress(), transientFor);
    if (!self)
        return;
    qApp->removeEventFilter(this);
    waitingForBrowser_ = false;
    if (outcome == BrowserProcess::Outcome::FailedToStart)
        QMessageBox::warning(this, appTitle(),
                             BrowserProcess::failedToStartMessage(BrowserProcess::program()));
}

void frmAbout::StartSysInfo()
{
    SysInfoLauncher launcher(SysInfoLauncher::systemServices([this] {
        QMessageBox message(QMessageBox::NoIcon, appTitle(), SysInfoLauncher::kUnavailableMessage,
                            QMessageBox::Ok, this);
        message.exec();
    }));
    launcher.StartSysInfo();
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (waitingForBrowser_ && watched->isWidgetType() && isUserInput(event->type())) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget == this || isAncestorOf(widget))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    // Esc presses the cancel button, which is OK.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmAbout::closeEvent(QCloseEvent *event)
{
    if (waitingForBrowser_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmAbout::centreOnScreen()
{
    screenplacement::centreOnScreenOf(this, parentWidget());
}

} // namespace mitoon
