#include "info/browser/frmBrowser.h"

#include "info/browser/addresscombobox.h"
#include "info/browser/webbrowsercontrol.h"
#include "platform/fonts.h"
#include "platform/formlayout.h"
#include "platform/loadedforms.h"
#include "platform/pictures.h"
#include "platform/screenplacement.h"
#include "platform/twips.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

namespace mitoon {

namespace {

// Client area and its place on the screen, in twips.
constexpr int kLeft = 8835;
constexpr int kTop = 360;
constexpr int kWidth = 6525;
constexpr int kHeight = 7380;

constexpr int kToolBarHeight = 540;
constexpr int kAddressBarTop = 540;
constexpr int kAddressBarHeight = 675;
constexpr int kPageLeft = 50;
constexpr int kPageTop = 1215;

struct ToolButton
{
    const char *key;
    const char *image;
    QString toolTip;
};

const ToolButton kToolButtons[] = {
    {"Back", ":/assets/tb_back.png", QStringLiteral("戻る")},
    {"Forward", ":/assets/tb_forward.png", QStringLiteral("進む")},
    {"Stop", ":/assets/tb_stop.png", QStringLiteral("中止")},
    {"Refresh", ":/assets/tb_refresh.png", QStringLiteral("再表示")},
    {"Home", ":/assets/tb_home.png", QStringLiteral("ﾎｰﾑ")},
    {"Search", ":/assets/tb_search.png", QStringLiteral("検索")},
};

int pixels(int twips)
{
    return twips::toPixelsRounded(twips);
}

} // namespace

frmBrowser::frmBrowser(WebBrowserControl *browser, const QString &makerAddress, QWidget *parent)
    : QWidget(parent, Qt::Window), brwWebBrowser(browser), makerAddress_(makerAddress)
{
    LoadedForms::add(this);
    setWindowIcon(pictures::programIcon());
    setFont(fonts::font(fonts::kPGothic, 9));
    setGeometry(twips::rect(kLeft, kTop, kWidth, kHeight));
    // Wholly on the screen at that place, however small.
    screenplacement::keepOnMainScreen(this);

    createToolBar();
    createAddressBar();

    brwWebBrowser->setParent(this);
    layout_ = BrowserLayout{}.resized(kWidth, kHeight, kPageTop);
    formlayout::place(brwWebBrowser, kPageLeft, kPageTop, layout_.pageWidth, layout_.pageHeight);
    connect(brwWebBrowser, &WebBrowserControl::DownloadComplete, this,
            &frmBrowser::brwWebBrowser_DownloadComplete);
    connect(brwWebBrowser, &WebBrowserControl::NavigateComplete2, this,
            &frmBrowser::brwWebBrowser_NavigateComplete2);

    timTimer = new QTimer(this);
    timTimer->setInterval(5);
    connect(timTimer, &QTimer::timeout, this, &frmBrowser::timTimer_Timer);

    // The page area comes first in the tab order and has the focus when the window opens.
    setTabOrder(brwWebBrowser, cboAddress);
    setTabOrder(cboAddress, Command1);
    brwWebBrowser->setFocus();
    dockBars();
}

void frmBrowser::createToolBar()
{
    tbToolBar = new QToolBar(this);
    tbToolBar->setMovable(false);
    tbToolBar->setFloatable(false);
    tbToolBar->setIconSize(QSize(24, 24));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ToolButton &button : kToolButtons) {
        imlToolbarIcons.append(QIcon(QString::fromLatin1(button.image)));
        QAction *action = tbToolBar->addAction(imlToolbarIcons.last(), QString());
        action->setToolTip(button.toolTip);
        action->setData(QString::fromLatin1(button.key));
    }
    connect(tbToolBar, &QToolBar::actionTriggered, this,
            [this](QAction *action) { tbToolBar_ButtonClick(action->data().toString()); });

    // Placed on the toolbar, right of its buttons.
    Command1 = new QPushButton(QStringLiteral("ミトーンに戻る"), tbToolBar);
    Command1->setFont(fonts::font(fonts::kPGothic, 9, true));
    formlayout::place(Command1, 3000, 0, 1935, 495);
    connect(Command1, &QPushButton::clicked, this, &frmBrowser::Command1_Click);
}

void frmBrowser::createAddressBar()
{
    picAddress = new QWidget(this);

    cboAddress = new AddressComboBox(picAddress);
    formlayout::place(cboAddress, 45, 300, 3795, 300);
    connect(cboAddress, &AddressComboBox::Click, this, &frmBrowser::cboAddress_Click);
    connect(cboAddress, &AddressComboBox::KeyPress, this, &frmBrowser::cboAddress_KeyPress);

    lblAddress = new QLabel(QStringLiteral("ｱﾄﾞﾚｽ(&A):"), picAddress);
    lblAddress->setBuddy(cboAddress);
    formlayout::place(lblAddress, 45, 60, 3075, 255);
}

// The toolbar and the address bar are docked to the top edge across the whole width.
void frmBrowser::dockBars()
{
    tbToolBar->setGeometry(0, 0, width(), pixels(kToolBarHeight));
    picAddress->setGeometry(0, pixels(kAddressBarTop), width(), pixels(kAddressBarHeight));
}

void frmBrowser::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    dockBars();
    Form_Resize();
}

void frmBrowser::showLocationName()
{
    if (const auto name = brwWebBrowser->LocationName())
        setWindowTitle(*name);
}

void frmBrowser::Form_Load()
{
    show();
    tbToolBar->update();
    Form_Resize();
    StartingAddress = makerAddress_;
    const int addressTop = int(twips::fromPixels(lblAddress->y() + lblAddress->height())) + 15;
    cboAddress->move(pixels(50), pixels(addressTop));
    if (!StartingAddress.isEmpty()) {
        cboAddress->setEditText(StartingAddress);
        cboAddress->addItem(cboAddress->currentText());
        timTimer->start();
        brwWebBrowser->Navigate(StartingAddress);
    }
}

void frmBrowser::Form_Resize()
{
    const int innerWidth = int(twips::fromPixels(width()));
    const int innerHeight = int(twips::fromPixels(height()));
    layout_ = layout_.resized(innerWidth, innerHeight, kAddressBarTop + kAddressBarHeight);
    cboAddress->resize(pixels(layout_.addressWidth), cboAddress->height());
    brwWebBrowser->resize(pixels(layout_.pageWidth), pixels(layout_.pageHeight));
}

void frmBrowser::brwWebBrowser_DownloadComplete()
{
    showLocationName();
}

void frmBrowser::brwWebBrowser_NavigateComplete2()
{
    showLocationName();
    const auto url = brwWebBrowser->LocationURL();
    int match = -1;
    for (int i = 0; url && i < cboAddress->count() && match < 0; ++i) {
        if (cboAddress->itemText(i) == *url)
            match = i;
    }
    suppressNavigation = true;
    if (match >= 0)
        cboAddress->removeItem(match);
    if (url)
        cboAddress->insertItem(0, *url);
    if (cboAddress->count() > 0)
        cboAddress->setListIndex(0);
    suppressNavigation = false;
}

void frmBrowser::cboAddress_Click()
{
    if (suppressNavigation)
        return;
    timTimer->start();
    brwWebBrowser->Navigate(cboAddress->currentText());
}

void frmBrowser::cboAddress_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        cboAddress_Click();
}

void frmBrowser::timTimer_Timer()
{
    // A component that cannot say whether it is busy counts as done: the poll stops.
    if (brwWebBrowser->Busy().value_or(false)) {
        setWindowTitle(kBusyCaption);
        return;
    }
    timTimer->stop();
    showLocationName();
}

void frmBrowser::tbToolBar_ButtonClick(const QString &Button)
{
    timTimer->start();
    if (Button == QLatin1String("Back")) {
        brwWebBrowser->GoBack();
    } else if (Button == QLatin1String("Forward")) {
        brwWebBrowser->GoForward();
    } else if (Button == QLatin1String("Refresh")) {
        brwWebBrowser->Refresh();
    } else if (Button == QLatin1String("Home")) {
        brwWebBrowser->GoHome();
    } else if (Button == QLatin1String("Search")) {
        brwWebBrowser->GoSearch();
    } else if (Button == QLatin1String("Stop")) {
        timTimer->stop();
        brwWebBrowser->Stop();
        showLocationName();
    }
}

void frmBrowser::Command1_Click()
{
    close();
}

} // namespace mitoon
