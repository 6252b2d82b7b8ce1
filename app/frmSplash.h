#pragma once

#include <QWidget>

class QFrame;
class QLabel;

namespace mitoon {

class ChangeReportingLabel;

// The splash screen shown while the program starts: ring logo, product name, version and the
// warning notice. No title bar, no input; start-up closes it once the main window is loaded.
class frmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);

    QFrame *fraMainFrame = nullptr;
    QLabel *picLogo = nullptr;
    ChangeReportingLabel *lblProductName = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblCopyright = nullptr;
    QLabel *lblCompany = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *Label1 = nullptr;

    void Form_Load();

private:
    void createControls(QWidget *client);
    void lblProductName_Change();
};

} // namespace mitoon
