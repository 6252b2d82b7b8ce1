#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace mitoon {

class ChangeReportingLabel;

// The About box: ring logo, product name, version, the warning notice, the author and the
// maker's contact data. Starts the system-information tool and opens the browser window on
// the maker's web site.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *owner = nullptr);

    // The Help menu's "ﾊﾞｰｼﾞｮﾝ情報": a new About box, modal over `owner`; returns once it is
    // closed.
    static void showModal(QWidget *owner);

    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    QLabel *picIcon = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QLabel *lblVersion = nullptr;
    ChangeReportingLabel *lblTitle = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QPushButton *Command1 = nullptr;
    QFrame *Line1[2] = {nullptr, nullptr};

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Command1_Click();
    void StartSysInfo();

    // True while the browser window is open over the box; the box takes no input meanwhile.
    bool waitingForBrowser() const { return waitingForBrowser_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void lblTitle_Change();
    void centreOnScreen();

    bool waitingForBrowser_ = false;
};

} // namespace mitoon
