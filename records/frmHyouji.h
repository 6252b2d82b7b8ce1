#pragma once

#include <QDialog>

class QLabel;
class QPrinter;
class QPlainTextEdit;
class QPushButton;

namespace mitoon {

class FocusStepDispatcher;
class ProgressiveLoader;

// The records window "結果表示": the whole record file as text, printing it and clearing it
// back to its header line. There is one records window at a time. The File menu shows it
// (modeless, without an owner), "閉じる" hides it, the close box destroys it.
class frmHyouji : public QDialog
{
    Q_OBJECT
public:
    // The records window, created and loaded when there is none.
    static frmHyouji *instance();
    // The records window when one is loaded, else null.
    static frmHyouji *loaded();

    // Loads the record file into the box: every line, then CR LF. A file that cannot be read
    // shows one line saying why instead. A long file shows its first lines at once and the
    // rest as the event loop goes on; loader() tells when it is complete. A file unchanged
    // since the last load is not read again: the box gets the text read then.
    void Text_GotFocus();
    ProgressiveLoader *loader() const { return loader_; }
    // Prints the box's text as shown, edits included, through the print dialog.
    void print_Click();
    // The printing once the dialog has been accepted; a failure is told in a message box.
    bool printTo(QPrinter &printer);
    // Clears the record file to its header line and hides this button. The box keeps its text
    // until it next gains the focus.
    void detaclear_Click();
    void tojiru_Click();

    QLabel *Label1 = nullptr;
    QPlainTextEdit *Text = nullptr;
    QPushButton *tojiru = nullptr;
    QPushButton *print = nullptr;
    QPushButton *detaclear = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    frmHyouji();
    void createControls();
    void layOut();
    void fitRecordLines();
    void connectHandlers();

    FocusStepDispatcher *focusSteps_ = nullptr;
    ProgressiveLoader *loader_ = nullptr;
};

} // namespace mitoon
