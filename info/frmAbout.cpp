#include "info/frmAbout.h"

#include "app/appinfo.h"
#include "info/browserprocess.h"
#include "info/sysinfolauncher.h"
#include "platform/changereportinglabel.h"
#include "platform/fonts.h"
#include "platform/formlayout.h"
#include "platform/loadedforms.h"
#include "platform/pictures.h"
#include "platform/screenplacement.h"

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
    setWindowIcon(pictures::programIcon());
    setFont(fonts::font(fonts::kPGothic, 9));
    formlayout::setClientSize(this, 5865, 3525);
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

void frmAbout::createControls()
{
    using namespace Qt::StringLiterals;
    using enum formlayout::Kind;
    using fonts::kGothic;
    using formlayout::to;
    const Qt::Alignment topLeftAligned = Qt::AlignLeft | Qt::AlignTop;
    const formlayout::Look topLeft{.alignment = topLeftAligned};
    const formlayout::Look blackText{.alignment = topLeftAligned, .textColor = Qt::black};
    const formlayout::Look greenText{.alignment = topLeftAligned, .textColor = QColor(0, 192, 0)};
    // A sunken single border around the 93 × 75 picture: the box is sized to its picture.
    const formlayout::Look greyPanel{.background = QColor(192, 192, 192),
                                     .border = formlayout::Border::sunken};
    // "URL =" is followed by the button that carries the web address, over its right part. A
    // grey line over a white one below it, both to 5657 twips, make an etched separator.
    // clang-format off
    const formlayout::Row rows[] = {
        // name            kind                  text                           left, top, width, height  font                 tab look                                   member
        {"cmdOK",          button,               u"OK"_s,                      {4245, 2625, 1467,  345}, {},                  0,  {.defaultButton = true},               to(cmdOK)},
        {"cmdSysInfo",     button,               u"ｼｽﾃﾑ情報(&S)..."_s,         {4260, 3075, 1452,  345}, {},                  1,  {},                                    to(cmdSysInfo)},
        {"picIcon",        picture,              u":/assets/ring1.png"_s,      { 120,  120, 1455, 1185}, {},                  2,  greyPanel,                             to(picIcon)},
        {"lblDisclaimer",  label,                author(),                     {1200, 2520, 1455,  225}, {},                  3,  blackText,                             to(lblDisclaimer)},
        {"lblVersion",     label,                {},                           {4320,  360, 1335,  225}, {},                  4,  topLeft,                               to(lblVersion)},
        {"lblTitle",       changeReportingLabel, {},                           {1920,  240, 2295,  480}, {kGothic, 18, true}, 5,  greenText,                             to(lblTitle)},
        {"lblDescription", label,                u"-警告-"_s,                  {1680,  960,  615,  210}, {},                  6,  blackText,                             to(lblDescription)},
        {"Label1",         wrappingLabel,        warningNotice(),              {1680, 1200, 4095, 1095}, {},                  7,  {},                                    to(Label1)},
        {"Label2",         label,                u"Mail = "_s + mailAddress(), {1200, 3000, 1815,  255}, {},                  8,  topLeft,                               to(Label2)},
        {"Label3",         label,                u"URL ="_s,                   {1200, 2760, 2775,  255}, {},                  9,  topLeft,                               to(Label3)},
        {"Command1",       button,               webAddress(),                 {1680, 2760, 2295,  255}, {},                  10, {},                                    to(Command1)},
        {{"Line1", 1},     frame,                {},                           { 225, 2430, 5432,   15}, {},                  -1, {.background = QColor(128, 128, 128)}, to(Line1[1])},
        {{"Line1", 0},     frame,                {},                           { 240, 2445, 5417,   30}, {},                  -1, {.background = Qt::white},             to(Line1[0])},

    };
    // clang-format on
    formlayout::create(rows, this, formlayout::Fonts::plain);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    connect(lblTitle, &ChangeReportingLabel::changed, this, &frmAbout::lblTitle_Change);
    connect(Command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);
    cmdOK->setFocus();
}

void frmAbout::Form_Load()
{
    lblVersion->setText(versionCaption(QStringLiteral("ﾊﾞｰｼﾞｮﾝ")));
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
