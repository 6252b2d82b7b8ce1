#pragma once

#include <QWidget>

class QLabel;
class QPrinter;
class QPushButton;

namespace mitoon {

class AcuityGraph;

// The graph window "記録のグラフ": every record of the record file as a point of its eye over
// time, and every run of 精密測定 from the runs file beside it, with printing and an export of
// the records for spreadsheets. There is one graph window at a time, modeless and without an
// owner; the File menu opens it and reads both files again each time, "閉じる", Esc and the
// close box destroy it. The files are only read.
class frmGurafu : public QWidget
{
    Q_OBJECT
public:
    // Opens the graph window, or brings the open one to the front, with the record file as it
    // is now. A new window opens on the screen of `mainWindow`.
    static frmGurafu *open(const QWidget *mainWindow);
    // The graph window when one is loaded, else null.
    static frmGurafu *loaded();

    // Reads the record file and the runs file and shows their results.
    void reload();
    // Prints the graph through the print dialog, on one landscape page.
    void print_Click();
    // The printing once the dialog has been accepted; a failure is told in a message box.
    bool printTo(QPrinter &printer);
    // Asks for a file name and writes the records there as CSV.
    void csvkakidasi_Click();
    void tojiru_Click();
    // The work of "CSVで書き出す" once the file name is known: a message box tells a failure.
    bool exportCsv(const QString &path);

    AcuityGraph *gurafu = nullptr;
    QLabel *lblKiroku = nullptr; // how many records and runs, and how many lines were skipped
    QLabel *lblTen = nullptr;    // the point under the mouse, or a hint
    QPushButton *print = nullptr;
    QPushButton *csvkakidasi = nullptr;
    QPushButton *tojiru = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    frmGurafu();
    void createControls();
    void layOut();
    void connectHandlers();
    void place(const QWidget *mainWindow);
    void showPoint(const QString &text);
};

} // namespace mitoon
