#include "acuity/calibration.h"
#include "app/frmMain.h"
#include "app/menucommands.h"
#include "info/frmAbout.h"
#include "platform/numbers.h"
#include "precise/frmSeimitu.h"
#include "screencheck/frmGamen.h"

#include <QMenuBar>

// The menu bar and its commands; the work behind them lies in menucommands and the windows
// they open.
namespace mitoon {

void frmMain::createMenus()
{
    QMenu *mnuFile = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ"));
    mnuFile->addAction(QStringLiteral("記録を見る"), this, &frmMain::mnuFileOpen_Click);
    mnuFile->addSeparator();
    mnuFile->addAction(QStringLiteral("結果を保存"), this, &frmMain::mnuFileupdate_Click);
    mnuFile->addSeparator();
    mnuFile->addAction(QStringLiteral("記録のグラフ"), this, &frmMain::mnuFileGurafu_Click);
    mnuFile->addAction(QStringLiteral("画面の確認"), this, &frmMain::mnuFileGamen_Click);
    mnuFile->addAction(QStringLiteral("精密測定"), this, &frmMain::mnuFileSeimitu_Click);
    mnuFile->addSeparator();
    mnuFile->addAction(QStringLiteral("終了"), this, &frmMain::mnuFileExit_Click);

    QMenu *mnuHelp = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ"));
    QAction *contents =
        mnuHelp->addAction(QStringLiteral("ﾍﾙﾌﾟ"), this, &frmMain::mnuHelpContents_Click);
    // The help item's help-context number; no item carries a shortcut key.
    contents->setProperty("helpContextId", 1);
    mnuHelp->addSeparator();
    mnuHelp->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::mnuFileOpen_Click()
{
    menucommands::mnuFileOpen();
}

void frmMain::mnuFileupdate_Click()
{
    menucommands::saveResults(this, test_.hidarikekka().toText(), test_.migikekka().toText());
}

void frmMain::mnuFileGurafu_Click()
{
    menucommands::mnuFileGurafu(this);
}

void frmMain::mnuFileGamen_Click()
{
    frmGamen::showFor(this, test_, settings_);
}

void frmMain::mnuFileSeimitu_Click()
{
    // The distance box gives the distance the measurement starts from.
    const double centimetres = parseLocaleNumber(cm->currentText()).value_or(kReferenceCentimetres);
    frmSeimitu::showFor(this, test_, settings_, centimetres);
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::mnuHelpContents_Click()
{
    menucommands::openHelpContents(this);
}

void frmMain::mnuHelpAbout_Click()
{
    frmAbout::showModal(this);
}

} // namespace mitoon
