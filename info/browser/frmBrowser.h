#pragma once

#include "info/browser/browserlayout.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;
class QToolBar;

namespace mitoon {

class AddressComboBox;
class WebBrowserControl;

// A small web browser on the maker's web site: a toolbar of six navigation buttons and a
// button back to the program, an address box whose list is the history of visited addresses,
// and the page area. The caption is the page's name, or "作業中..." while the page loads.
class frmBrowser : public QWidget
{
    Q_OBJECT
public:
    static inline const QString kBusyCaption = QStringLiteral("作業中...");

    // `browser` becomes the page area; `makerAddress` is the start page.
    frmBrowser(WebBrowserControl *browser, const QString &makerAddress, QWidget *parent = nullptr);

    QString StartingAddress;
    // True while code rearranges the address list: a selection then does not navigate.
    bool suppressNavigation = false;

    QToolBar *tbToolBar = nullptr;
    QPushButton *Command1 = nullptr;
    QWidget *picAddress = nullptr;
    QLabel *lblAddress = nullptr;
    AddressComboBox *cboAddress = nullptr;
    WebBrowserControl *brwWebBrowser = nullptr;
    QTimer *timTimer = nullptr;
    QList<QIcon> imlToolbarIcons;

    void Form_Load();
    void Form_Resize();
    void brwWebBrowser_DownloadComplete();
    void brwWebBrowser_NavigateComplete2();
    void cboAddress_Click();
    void cboAddress_KeyPress(int KeyAscii);
    void timTimer_Timer();
    void tbToolBar_ButtonClick(const QString &Button);
    void Command1_Click();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void createToolBar();
    void createAddressBar();
    void dockBars();
    void showLocationName();

    QString makerAddress_;
    BrowserLayout layout_;
};

} // namespace mitoon
